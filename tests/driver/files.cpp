#include "ui_driver.h"

#include <algorithm>
#include <fstream>
#include <iterator>

namespace ui {

std::string makeScratchFolder(const std::string& prefix)
{
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    for (unsigned serial = GetTickCount();; ++serial) {
        const std::string folder = temp + prefix + std::to_string(serial);
        if (CreateDirectoryA(folder.c_str(), nullptr))
            return folder;
        if (GetLastError() != ERROR_ALREADY_EXISTS)
            return {};
    }
}

void removeTree(const std::string& folder)
{
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &entry);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = entry.cFileName;
            if (name == "." || name == "..")
                continue;
            const std::string path = folder + "\\" + name;
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                removeTree(path);
            else
                DeleteFileA(path.c_str());
        } while (FindNextFileA(search, &entry));
        FindClose(search);
    }
    RemoveDirectoryA(folder.c_str());
}

std::string systemFolder()
{
    char path[MAX_PATH] = {};
    GetSystemDirectoryA(path, MAX_PATH);
    return path;
}

std::string readTextFile(const std::string& path)
{
    std::ifstream file(path);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

std::string windowsPath(const std::string& hostPath)
{
    std::string path = hostPath;
    std::replace(path.begin(), path.end(), '/', '\\');
    return path.size() > 0 && path[0] == '\\' ? "Z:" + path : path;
}

}  // namespace ui
