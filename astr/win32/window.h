// The screensaver's one window in the drawing modes: the preview child in
// the host's window or the full-screen pop-up, the rules that end the run,
// and the teardown.
#pragma once

#include <windows.h>

// Registers the class, makes the particle storage and creates the window
// with its rendering context. Answers false, having changed nothing, when a
// full-screen instance already runs; failures end the program through
// FatalError.
bool startWindow(HINSTANCE instance);
