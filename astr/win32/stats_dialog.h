// "ASTR_STS": the figures of the drawing run that has just ended. It has no
// buttons; Enter and Escape leave it open, and only its close box ends it.
#pragma once

#include <windows.h>

INT_PTR CALLBACK statsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
