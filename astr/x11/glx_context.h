// The GLX rendering context on the saver's window, and presenting a frame.
#pragma once

// Creates the context with the window's visual and makes it current; on
// failure prints one line saying why and ends with status 1.
void createGlContext();

void presentGlxFrame();

// Leaves the context and deletes it.
void releaseGlContext();
