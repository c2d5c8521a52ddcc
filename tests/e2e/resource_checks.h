// Checks of what a built program carries in its resources.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "dialog_template.h"

// Each program's icon is one 32 x 32 image in 256 colours.
inline ::testing::AssertionResult isOne32By32IconIn256Colours(const std::string& program, const char* name)
{
    const std::vector<ui::IconImage> images = ui::readIconGroup(program, name);
    if (images.size() != 1)
        return ::testing::AssertionFailure() << name << " holds " << images.size() << " images";
    const ui::IconImage& image = images[0];
    if (image.width != 32 || image.height != 32 || image.bitCount != 8)
        return ::testing::AssertionFailure() << name << " is " << image.width << " x " << image.height << " at "
                                             << image.bitCount << " bits";
    return ::testing::AssertionSuccess();
}

// The program's string resource of that id; empty when it has none.
inline std::string resourceString(const std::string& program, UINT id)
{
    HMODULE module = LoadLibraryExA(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!module)
        return {};
    char text[256] = {};
    LoadStringA(module, id, text, sizeof text);
    FreeLibrary(module);
    return text;
}

struct VersionBlock {
    WORD fileVersion[4] = {};     // the fixed part's major, minor, patch, build
    WORD productVersion[4] = {};
    std::vector<std::pair<std::string, std::string>> texts;  // the US English string table, by name
};

// The version block of a program; false when it has none.
inline bool readVersionBlock(const std::string& program, const std::vector<std::string>& names, VersionBlock& result)
{
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA(program.c_str(), &ignored);
    std::vector<char> block(size);
    if (size == 0 || !GetFileVersionInfoA(program.c_str(), 0, size, block.data()))
        return false;
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    if (!VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &length) || length < sizeof *fixed)
        return false;
    const DWORD versions[] = {fixed->dwFileVersionMS, fixed->dwFileVersionLS, fixed->dwProductVersionMS,
                              fixed->dwProductVersionLS};
    for (int i = 0; i < 2; ++i) {
        result.fileVersion[2 * i] = HIWORD(versions[i]);
        result.fileVersion[2 * i + 1] = LOWORD(versions[i]);
        result.productVersion[2 * i] = HIWORD(versions[2 + i]);
        result.productVersion[2 * i + 1] = LOWORD(versions[2 + i]);
    }
    result.texts.clear();
    for (const std::string& name : names) {
        char* value = nullptr;
        const std::string path = "\\StringFileInfo\\040904E4\\" + name;
        if (VerQueryValueA(block.data(), path.c_str(), reinterpret_cast<void**>(&value), &length) && value)
            result.texts.emplace_back(name, std::string(value, strnlen(value, length)));
        else
            result.texts.emplace_back(name, "(missing)");
    }
    return true;
}
