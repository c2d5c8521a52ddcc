// The WGL rendering context on the saver's window: its pixel format, the
// palette an 8-bit format needs, the context itself, and presenting a frame
// (presentFrame, of the platform seam).
#pragma once

#include <windows.h>

// Chooses and sets the pixel format, makes the palette where the format
// needs one, creates the context and makes it current; each failure ends the
// program through FatalError.
void createGlContext(HWND window);

// Puts the saver's palette back into the system's, where it has one.
void realizeGlPalette();

// Leaves the context and deletes it (what exists of it).
void releaseGlContext();
