// The one dialog of vantor: the capability report in read-only fields.
#pragma once

#include <windows.h>

INT_PTR CALLBACK capabilityDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
