#include "window_state.h"

uint8_t keyDown[256];
float aspectX = 1.0f;
float aspectY = 1.0f;

void noteKey(uint64_t virtualKey, bool down)
{
    if (virtualKey < sizeof keyDown)
        keyDown[virtualKey] = down ? 1 : 0;
}

void setAspectForClientSize(uint32_t width, uint32_t height)
{
    if (height == 0)
        height = 1;
    if (width > height) {
        aspectX = static_cast<float>(height) / static_cast<float>(width);
        aspectY = 1.0f;
    } else {
        aspectX = 1.0f;
        aspectY = static_cast<float>(width) / static_cast<float>(height);
    }
}
