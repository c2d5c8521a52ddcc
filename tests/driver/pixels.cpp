#include "ui_driver.h"

#include <algorithm>

namespace ui {

// Reading the screen takes time from the program being watched: not too often.
constexpr DWORD picturePollMs = 100;

std::vector<uint32_t> screenPixels(const RECT& rect)
{
    return drawnPixels(rect, [&](HDC memory) {
        HDC screen = GetDC(nullptr);
        BitBlt(memory, 0, 0, rect.right - rect.left, rect.bottom - rect.top, screen, rect.left, rect.top, SRCCOPY);
        ReleaseDC(nullptr, screen);
    });
}

std::vector<uint32_t> drawnPixels(const RECT& area, const std::function<void(HDC)>& draw)
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
    std::vector<uint32_t> pixels;
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

bool waitForPicture(const Program& program, HWND window, DWORD timeoutMs)
{
    bool shown = false;
    waitUntil([&] {
        RECT rect;
        GetWindowRect(window, &rect);
        const std::vector<uint32_t> pixels = screenPixels(rect);
        shown = std::any_of(pixels.begin(), pixels.end(), [](uint32_t pixel) { return pixel != 0; });
        return shown || WaitForSingleObject(program.process, 0) != WAIT_TIMEOUT;
    }, timeoutMs, picturePollMs);
    return shown;
}

bool pictureMoves(HWND window, DWORD milliseconds)
{
    RECT rect;
    GetWindowRect(window, &rect);
    const std::vector<uint32_t> before = screenPixels(rect);
    pumpMessages(milliseconds);
    const std::vector<uint32_t> after = screenPixels(rect);
    return after != before && std::any_of(after.begin(), after.end(), [](uint32_t pixel) { return pixel != 0; });
}

}  // namespace ui
