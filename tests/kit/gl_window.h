// Somewhere to draw the picture for real and read it back: a visible window
// of the caller's own, at the display's top left corner, with a current GL
// context for an ordinary double-buffered RGBA format. One at a time.
// gl_window_wgl.cpp makes it with Win32 and WGL, gl_window_glx.cpp on
// $DISPLAY with Xlib and GLX.
#pragma once

#include <string>
#include <vector>

// Opens the window of width x height and makes its context current; answers
// "" when it could, else why not.
std::string openGlWindow(const char* title, int width, int height);
void closeGlWindow();

// The back buffer's pixels, once all drawn so far is finished: red, green,
// blue bytes, the bottom row first.
std::vector<unsigned char> readBackBuffer(int width, int height);
