// Force-included into a test build of astr's settings store and dialogs:
// reroutes the registry calls to astr_settings_faults.cpp, which fails the
// one named by the environment variable ASTR_FAIL (RegCreateKeyEx or
// RegSetValueEx) and logs every rerouted call, and each message box with its
// owner, caption, text and type, to the file ASTR_LOG. The program's own
// sources stay as they ship.
#pragma once

#include <windows.h>

LONG WINAPI faultyRegCreateKeyExA(HKEY root, LPCSTR path, DWORD reserved, LPSTR keyClass, DWORD options,
                                  REGSAM access, LPSECURITY_ATTRIBUTES security, PHKEY key, LPDWORD disposition);
LONG WINAPI faultyRegSetValueExA(HKEY key, LPCSTR name, DWORD reserved, DWORD type, const BYTE* data, DWORD size);
LONG WINAPI faultyRegQueryValueExA(HKEY key, LPCSTR name, LPDWORD reserved, LPDWORD type, LPBYTE data, LPDWORD size);
LONG WINAPI faultyRegCloseKey(HKEY key);
int WINAPI faultyMessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type);

#define RegCreateKeyExA faultyRegCreateKeyExA
#define RegSetValueExA faultyRegSetValueExA
#define RegQueryValueExA faultyRegQueryValueExA
#define RegCloseKey faultyRegCloseKey
#define MessageBoxA faultyMessageBoxA
