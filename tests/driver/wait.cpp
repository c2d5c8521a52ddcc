#include "ui_driver.h"

namespace ui {

bool waitUntil(const std::function<bool()>& done, DWORD timeoutMs, DWORD pollMs)
{
    for (const DWORD begin = GetTickCount(); !done(); pumpMessages(pollMs))
        if (GetTickCount() - begin >= timeoutMs)
            return false;
    return true;
}

void pumpMessages(DWORD milliseconds)
{
    const DWORD begin = GetTickCount();
    do {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    } while (GetTickCount() - begin < milliseconds);
}

}  // namespace ui
