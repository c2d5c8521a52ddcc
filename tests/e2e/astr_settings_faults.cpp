#include <windows.h>

#include <cstdint>
#include <cstdio>

#include "fault_switch.h"

namespace {

bool failing(const char* step)
{
    return faultChosen("ASTR_FAIL", step);
}

void log(const char* event)
{
    logFault("ASTR_LOG", event);
}

}  // namespace

LONG WINAPI faultyRegCreateKeyExA(HKEY root, LPCSTR path, DWORD reserved, LPSTR keyClass, DWORD options,
                                  REGSAM access, LPSECURITY_ATTRIBUTES security, PHKEY key, LPDWORD disposition)
{
    log("RegCreateKeyEx");
    if (failing("RegCreateKeyEx"))
        return ERROR_ACCESS_DENIED;
    return RegCreateKeyExA(root, path, reserved, keyClass, options, access, security, key, disposition);
}

LONG WINAPI faultyRegSetValueExA(HKEY key, LPCSTR name, DWORD reserved, DWORD type, const BYTE* data, DWORD size)
{
    char event[128];
    std::snprintf(event, sizeof event, "RegSetValueEx %s", name);
    log(event);
    if (failing("RegSetValueEx"))
        return ERROR_ACCESS_DENIED;
    return RegSetValueExA(key, name, reserved, type, data, size);
}

LONG WINAPI faultyRegQueryValueExA(HKEY key, LPCSTR name, LPDWORD reserved, LPDWORD type, LPBYTE data, LPDWORD size)
{
    char event[128];
    std::snprintf(event, sizeof event, "RegQueryValueEx %s", name);
    log(event);
    return RegQueryValueExA(key, name, reserved, type, data, size);
}

LONG WINAPI faultyRegCloseKey(HKEY key)
{
    log("RegCloseKey");
    return RegCloseKey(key);
}

int WINAPI faultyMessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type)
{
    char event[256];
    std::snprintf(event, sizeof event, "MessageBox owner %llu caption \"%s\" text \"%s\" type 0x%x",
                  static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(owner)), caption, text, type);
    log(event);
    return MessageBoxA(owner, text, caption, type);
}
