// The Win32 window behind gl_window.h, for the Windows tests and benchmarks
// that need its handles: a visible window of the caller's own with a current
// GL context for an ordinary double-buffered RGBA format.
#pragma once

#include <windows.h>

struct WglWindow {
    HWND window;
    HDC dc;
    HGLRC context;  // null when no context could be made current
};

// A popup of width x height at the display's top left corner or, given a
// parent, a child of that size at the parent's top left corner.
WglWindow openWglWindow(const char* title, int width, int height, HWND parent = nullptr);
void closeWglWindow(WglWindow& gl);
