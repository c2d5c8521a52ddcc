#pragma once
#include <windows.h>
INT_PTR CALLBACK configDialogProc(HWND, UINT, WPARAM, LPARAM);
