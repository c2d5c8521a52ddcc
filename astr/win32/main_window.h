// The shell's one window handle: 0, or the host's window named on the command
// line, until the screensaver's own window exists; then that window.
#pragma once

#include <windows.h>

extern HWND mainWindow;
