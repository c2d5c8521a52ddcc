#include "ui_driver.h"

#include <algorithm>
#include <utility>

namespace ui {

namespace {

bool isIconStatic(HWND window)
{
    return windowClass(window) == "Static" && (GetWindowLongPtrA(window, GWL_STYLE) & SS_TYPEMASK) == SS_ICON;
}

// The icon as an icon control of the area's size draws it, over a background
// of that colour (0xRRGGBB, as pixels are read).
std::vector<uint32_t> drawnIcon(HICON icon, const RECT& area, uint32_t background)
{
    return drawnPixels(area, [&](HDC memory) {
        const RECT whole{0, 0, area.right - area.left, area.bottom - area.top};
        HBRUSH brush = CreateSolidBrush(RGB(background >> 16 & 0xFF, background >> 8 & 0xFF, background & 0xFF));
        FillRect(memory, &whole, brush);
        DeleteObject(brush);
        DrawIconEx(memory, 0, 0, icon, whole.right, whole.bottom, 0, nullptr, DI_NORMAL);
    });
}

}  // namespace

std::string messageBoxText(HWND box)
{
    for (HWND child : children(box))
        if (windowClass(child) == "Static" && !isIconStatic(child) && GetWindowTextLengthA(child) > 0)
            return windowText(child);
    return {};
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
    const std::pair<UINT, LPCSTR> standardIcons[] = {{MB_ICONHAND, IDI_HAND}, {MB_ICONQUESTION, IDI_QUESTION},
                                                      {MB_ICONEXCLAMATION, IDI_EXCLAMATION},
                                                      {MB_ICONASTERISK, IDI_ASTERISK}};
    UINT shownStyle = MB_ICONMASK;
    waitUntil([&] {  // a busy machine paints the box's icon late
        const std::vector<uint32_t> shown = screenPixels(area);
        for (const auto& [style, icon] : standardIcons)  // their corners are clear: background there
            if (!shown.empty() && drawnIcon(LoadIconA(nullptr, icon), area, shown.front()) == shown) {
                shownStyle = style;
                return true;
            }
        return false;
    }, defaultTimeoutMs);
    return shownStyle;
}

}  // namespace ui
