// The WGL rendering context on the saver's window: its pixel format, the
// palette an 8-bit format needs, and presenting a frame (presentFrame).
#pragma once

#include <windows.h>

// Sets the pixel format, makes the palette, creates the context and makes it
// current; each failure ends the program through FatalError.
void createGlContext(HWND window);

// Puts the saver's palette back into the system's, where it has one.
void realizeGlPalette();

// Leaves the context and deletes it, what exists of it.
void releaseGlContext();
