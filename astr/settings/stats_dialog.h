#pragma once
#include <windows.h>
INT_PTR CALLBACK statsDialogProc(HWND, UINT, WPARAM, LPARAM);
