#include "ui_driver.h"

#include <psapi.h>

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <sstream>

namespace ui {

namespace {

constexpr DWORD pollMs = 20;
// Reading the screen takes time from the program being watched: not too often.
constexpr DWORD picturePollMs = 100;

struct WindowSearch {
    DWORD processId;
    const char* className;
    const char* caption;
    HWND found;
};

BOOL CALLBACK matchWindow(HWND window, LPARAM data)
{
    auto* search = reinterpret_cast<WindowSearch*>(data);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search->processId || !IsWindowVisible(window))
        return TRUE;
    if (search->className && windowClass(window) != search->className)
        return TRUE;
    if (search->caption && windowText(window) != search->caption)
        return TRUE;
    search->found = window;
    return FALSE;
}

BOOL CALLBACK collectChild(HWND window, LPARAM data)
{
    reinterpret_cast<std::vector<HWND>*>(data)->push_back(window);
    return TRUE;
}

bool isStatic(HWND window)
{
    return windowClass(window) == "Static";
}

bool isIconStatic(HWND window)
{
    return isStatic(window) && (GetWindowLongPtrA(window, GWL_STYLE) & SS_TYPEMASK) == SS_ICON;
}

// Colours of an area, top row first, with the byte beside the colour cleared.
using Pixels = std::vector<uint32_t>;

// Draws into a fresh 32-bit bitmap of the area's size and reads it back.
template <typename Draw>
Pixels pixelsOf(const RECT& area, Draw draw)
{
    BITMAPINFO format{};
    format.bmiHeader.biSize = sizeof format.bmiHeader;
    format.bmiHeader.biWidth = area.right - area.left;
    format.bmiHeader.biHeight = -(area.bottom - area.top);  // top-down
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    format.bmiHeader.biCompression = BI_RGB;
    HDC memory = CreateCompatibleDC(nullptr);
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(memory, &format, DIB_RGB_COLORS, &bits, nullptr, 0);
    Pixels pixels;
    if (bitmap) {
        HGDIOBJ previous = SelectObject(memory, bitmap);
        draw(memory);
        GdiFlush();
        const uint32_t* first = static_cast<const uint32_t*>(bits);
        pixels.assign(first, first + format.bmiHeader.biWidth * (area.bottom - area.top));
        for (uint32_t& pixel : pixels)
            pixel &= 0x00FFFFFF;
        SelectObject(memory, previous);
        DeleteObject(bitmap);
    }
    DeleteDC(memory);
    return pixels;
}

// The icon as an icon control of the area's size draws it, over a background
// of that colour (0xRRGGBB, as Pixels hold it).
Pixels drawnIcon(HICON icon, const RECT& area, uint32_t background)
{
    return pixelsOf(area, [&](HDC memory) {
        const RECT whole{0, 0, area.right - area.left, area.bottom - area.top};
        HBRUSH brush = CreateSolidBrush(RGB(background >> 16 & 0xFF, background >> 8 & 0xFF, background & 0xFF));
        FillRect(memory, &whole, brush);
        DeleteObject(brush);
        DrawIconEx(memory, 0, 0, icon, whole.right, whole.bottom, 0, nullptr, DI_NORMAL);
    });
}

}  // namespace

Program start(const std::string& commandLine, const std::string& directory)
{
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    std::string line = commandLine;  // CreateProcessA may write into it
    Program program;
    if (CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                       directory.empty() ? nullptr : directory.c_str(), &startup, &info)) {
        CloseHandle(info.hThread);
        program.process = info.hProcess;
        program.id = info.dwProcessId;
    }
    return program;
}

HWND waitForWindow(const Program& program, const char* className, const char* caption, DWORD timeoutMs)
{
    const DWORD begin = GetTickCount();
    do {
        WindowSearch search{program.id, className, caption, nullptr};
        EnumWindows(matchWindow, reinterpret_cast<LPARAM>(&search));
        if (search.found)
            return search.found;
        pumpMessages(pollMs);
    } while (GetTickCount() - begin < timeoutMs);
    return nullptr;
}

DWORD waitForExit(Program& program, DWORD timeoutMs)
{
    if (!program.process)
        return STILL_ACTIVE;
    const DWORD begin = GetTickCount();
    while (WaitForSingleObject(program.process, 0) == WAIT_TIMEOUT) {
        if (GetTickCount() - begin >= timeoutMs) {
            TerminateProcess(program.process, STILL_ACTIVE);
            WaitForSingleObject(program.process, INFINITE);
            CloseHandle(program.process);
            program.process = nullptr;
            return STILL_ACTIVE;
        }
        pumpMessages(pollMs);
    }
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(program.process, &code);
    CloseHandle(program.process);
    program.process = nullptr;
    return code;
}

std::string windowText(HWND window)
{
    // WM_GETTEXT, not GetWindowText: across processes only the message
    // reaches what an edit control holds.
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutA(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length))
        return {};
    std::string text(static_cast<size_t>(length) + 1, '\0');
    DWORD_PTR copied = 0;
    SendMessageTimeoutA(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG,
                        5000, &copied);
    text.resize(static_cast<size_t>(copied));
    return text;
}

std::string itemText(HWND dialog, int id)
{
    return windowText(GetDlgItem(dialog, id));
}

std::string windowClass(HWND window)
{
    char name[256] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

std::vector<HWND> children(HWND window)
{
    std::vector<HWND> found;
    EnumChildWindows(window, collectChild, reinterpret_cast<LPARAM>(&found));
    return found;
}

std::string messageBoxText(HWND box)
{
    for (HWND child : children(box))
        if (isStatic(child) && !isIconStatic(child) && GetWindowTextLengthA(child) > 0)
            return windowText(child);
    return {};
}

UINT messageBoxIcon(HWND box)
{
    HWND iconControl = nullptr;
    for (HWND child : children(box))
        if (isIconStatic(child) && IsWindowVisible(child) && SendMessageA(child, STM_GETICON, 0, 0) != 0)
            iconControl = child;
    if (!iconControl)
        return 0;

    // The box's icon handle belongs to its own process and tells nothing
    // here, so the icon is told by what the screen shows: each standard icon
    // is drawn here on the same background and compared pixel for pixel.
    RECT area;
    GetClientRect(iconControl, &area);
    MapWindowPoints(iconControl, nullptr, reinterpret_cast<POINT*>(&area), 2);
    const struct {
        UINT style;
        LPCSTR icon;
    } standardIcons[] = {{MB_ICONHAND, IDI_HAND},
                         {MB_ICONQUESTION, IDI_QUESTION},
                         {MB_ICONEXCLAMATION, IDI_EXCLAMATION},
                         {MB_ICONASTERISK, IDI_ASTERISK}};
    const DWORD begin = GetTickCount();
    do {  // until the box has painted its icon
        const Pixels shown = screenPixels(area);
        if (!shown.empty())
            for (const auto& standard : standardIcons)  // their corners are clear: background there
                if (drawnIcon(LoadIconA(nullptr, standard.icon), area, shown.front()) == shown)
                    return standard.style;
        pumpMessages(pollMs);
    } while (GetTickCount() - begin < defaultTimeoutMs);  // a busy machine paints late
    return MB_ICONMASK;
}

std::vector<uint32_t> screenPixels(const RECT& rect)
{
    return pixelsOf(rect, [&](HDC memory) {
        HDC screen = GetDC(nullptr);
        BitBlt(memory, 0, 0, rect.right - rect.left, rect.bottom - rect.top, screen, rect.left, rect.top, SRCCOPY);
        ReleaseDC(nullptr, screen);
    });
}

bool waitForPicture(const Program& program, HWND window, DWORD timeoutMs)
{
    const DWORD begin = GetTickCount();
    do {
        RECT rect;
        GetWindowRect(window, &rect);
        const Pixels shown = screenPixels(rect);
        if (std::any_of(shown.begin(), shown.end(), [](uint32_t pixel) { return pixel != 0; }))
            return true;
        pumpMessages(picturePollMs);
    } while (GetTickCount() - begin < timeoutMs && WaitForSingleObject(program.process, 0) == WAIT_TIMEOUT);
    return false;
}

bool pictureMoves(HWND window, DWORD milliseconds)
{
    RECT rect;
    GetWindowRect(window, &rect);
    const Pixels before = screenPixels(rect);
    pumpMessages(milliseconds);
    const Pixels after = screenPixels(rect);
    return after != before && std::any_of(after.begin(), after.end(), [](uint32_t pixel) { return pixel != 0; });
}

size_t workingSet(const Program& program)
{
    PROCESS_MEMORY_COUNTERS counters{};
    GetProcessMemoryInfo(program.process, &counters, sizeof counters);
    return counters.WorkingSetSize;
}

bool deliver(HWND window, const std::vector<Message>& messages)
{
    CREATESTRUCTA blank{};
    bool allTaken = true;
    for (const Message& m : messages)
        for (int i = 0; i < m.times; ++i) {
            const LPARAM lParam = m.message == WM_CREATE ? reinterpret_cast<LPARAM>(&blank) : m.lParam;
            DWORD_PTR answer = 0;
            allTaken &= m.how == Post ? PostMessageA(window, m.message, m.wParam, lParam) != 0
                                      : SendMessageTimeoutA(window, m.message, m.wParam, lParam, SMTO_ABORTIFHUNG,
                                                            5000, &answer) != 0;
        }
    return allTaken;
}

std::vector<Message> strayMessages()
{
    HWND desktop = GetDesktopWindow();
    const auto foreignW = reinterpret_cast<WPARAM>(desktop);
    const auto foreignL = reinterpret_cast<LPARAM>(desktop);
    return {
        {Send, WM_INITDIALOG},
        {Post, WM_COMMAND, MAKEWPARAM(9999, BN_CLICKED)},
        {Post, WM_TIMER, 1},
        {Send, WM_SIZE, SIZE_RESTORED, 0},
        {Post, WM_SIZE, SIZE_RESTORED, MAKELPARAM(65535, 65535)},
        {Post, WM_PAINT},
        {Send, WM_PALETTECHANGED, foreignW},
        {Send, WM_QUERYNEWPALETTE},
        {Send, WM_ACTIVATE, WA_INACTIVE, foreignL, 3},
        {Send, WM_ACTIVATEAPP, FALSE, 0, 3},
        {Send, WM_NCACTIVATE, FALSE, 0, 3},
        {Send, WM_ACTIVATE, WA_ACTIVE, foreignL},
        {Send, WM_ACTIVATEAPP, TRUE},
        {Send, WM_NCACTIVATE, TRUE},
    };
}

std::vector<std::string> messageBoxButtons(HWND box)
{
    std::vector<std::string> buttons;
    for (HWND child : children(box)) {
        if (windowClass(child) != "Button" || !IsWindowVisible(child))
            continue;
        std::string text = windowText(child);
        text.erase(std::remove(text.begin(), text.end(), '&'), text.end());
        buttons.push_back(text);
    }
    return buttons;
}

void pressButton(HWND dialog, int id)
{
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

void click(HWND window)
{
    // Every step carries the position: a press taken at wherever the pointer
    // is could land where an earlier, late-reported move left it.
    RECT rect;
    GetWindowRect(window, &rect);
    const LONG width = GetSystemMetrics(SM_CXSCREEN);
    const LONG height = GetSystemMetrics(SM_CYSCREEN);
    INPUT steps[3] = {};
    for (INPUT& step : steps) {
        step.type = INPUT_MOUSE;
        // Absolute positions run from 0 to 65536 across the screen.
        step.mi.dx = (((rect.left + rect.right) / 2) * 65536 + width - 1) / width;
        step.mi.dy = (((rect.top + rect.bottom) / 2) * 65536 + height - 1) / height;
        step.mi.dwFlags = MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE;
    }
    steps[1].mi.dwFlags |= MOUSEEVENTF_LEFTDOWN;
    steps[2].mi.dwFlags |= MOUSEEVENTF_LEFTUP;
    SendInput(3, steps, sizeof steps[0]);
}

HWND focusedWindow(HWND window)
{
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info);
    return info.hwndFocus;
}

void pressKey(HWND window, WORD virtualKey)
{
    HWND target = focusedWindow(window);
    if (!target)
        target = window;
    PostMessageA(target, WM_KEYDOWN, virtualKey, 1);
    PostMessageA(target, WM_KEYUP, virtualKey, 1 | (1u << 30) | (1u << 31));
}

void pressAltKey(HWND window, WORD virtualKey)
{
    HWND target = focusedWindow(window);
    if (!target)
        target = window;
    constexpr LPARAM altDown = 1 | (1 << 29);
    PostMessageA(target, WM_SYSKEYDOWN, virtualKey, altDown);
    PostMessageA(target, WM_SYSKEYUP, virtualKey, altDown | (1u << 30) | (1u << 31));
}

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
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

std::string windowsPath(const std::string& hostPath)
{
    std::string path = hostPath;
    for (char& c : path)
        if (c == '/')
            c = '\\';
    return path.size() > 0 && path[0] == '\\' ? "Z:" + path : path;
}

void pumpMessages(DWORD milliseconds)
{
    const DWORD begin = GetTickCount();
    do {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    } while (GetTickCount() - begin < milliseconds);
}

}  // namespace ui
