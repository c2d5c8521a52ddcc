// "ASTR_DLG": the settings, read from the registry when it opens and written
// back, all seven, on OK. Cancel, Escape and the close box write nothing.
#pragma once

#include <windows.h>

INT_PTR CALLBACK configDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
