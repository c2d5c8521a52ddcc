// Reads a dialog template out of a program's resources, plain or extended,
// so tests can check what the program really carries.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace ui {

struct DialogItem {
    DWORD style = 0;
    DWORD exStyle = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    int id = 0;
    std::string className;  // "Button", "Edit", "Static", ... for the predefined classes
    std::string text;       // or "#N" for an ordinal
};

struct DialogTemplate {
    bool extended = false;
    DWORD style = 0;
    DWORD exStyle = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    std::string caption;
    int pointSize = 0;
    std::string typeface;
    std::vector<DialogItem> items;
};

// False when the module or the resource cannot be found.
bool readDialogTemplate(const std::string& modulePath, const char* name, DialogTemplate& result);

struct IconImage {
    int width, height, colorCount, bitCount;
};

// The images of an icon resource, as its group directory lists them.
std::vector<IconImage> readIconGroup(const std::string& modulePath, const char* name);

}  // namespace ui
