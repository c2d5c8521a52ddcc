// A visible window of the caller's own with a current GL context for an
// ordinary double-buffered RGBA format: somewhere to draw the picture for
// real and read it back.
#pragma once

#include <windows.h>

struct GlWindow {
    HWND window;
    HDC dc;
    HGLRC context;  // null when no context could be made current
};

// A popup of width x height at the display's top left corner or, given a
// parent, a child of that size at the parent's top left corner.
GlWindow openGlWindow(const char* title, int width, int height, HWND parent = nullptr);
void closeGlWindow(GlWindow& gl);
