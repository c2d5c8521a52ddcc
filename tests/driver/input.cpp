#include "ui_driver.h"

namespace ui {

void pressButton(HWND dialog, int id)
{
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

void click(HWND window)
{
    // Every step carries the position: a press taken at wherever the pointer
    // is could land where an earlier, late-reported move left it.
    RECT rect;
    GetWindowRect(window, &rect);
    const LONG width = GetSystemMetrics(SM_CXSCREEN);
    const LONG height = GetSystemMetrics(SM_CYSCREEN);
    INPUT steps[3] = {};
    for (INPUT& step : steps) {
        step.type = INPUT_MOUSE;
        // Absolute positions run from 0 to 65536 across the screen.
        step.mi.dx = (((rect.left + rect.right) / 2) * 65536 + width - 1) / width;
        step.mi.dy = (((rect.top + rect.bottom) / 2) * 65536 + height - 1) / height;
        step.mi.dwFlags = MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE;
    }
    steps[1].mi.dwFlags |= MOUSEEVENTF_LEFTDOWN;
    steps[2].mi.dwFlags |= MOUSEEVENTF_LEFTUP;
    SendInput(3, steps, sizeof steps[0]);
}

void pressKey(HWND window, WORD virtualKey)
{
    HWND target = focusedWindow(window);
    if (!target)
        target = window;
    PostMessageA(target, WM_KEYDOWN, virtualKey, 1);
    PostMessageA(target, WM_KEYUP, virtualKey, 1 | (1u << 30) | (1u << 31));
}

void pressAltKey(HWND window, WORD virtualKey)
{
    HWND target = focusedWindow(window);
    if (!target)
        target = window;
    constexpr LPARAM altDown = 1 | (1 << 29);
    PostMessageA(target, WM_SYSKEYDOWN, virtualKey, altDown);
    PostMessageA(target, WM_SYSKEYUP, virtualKey, altDown | (1u << 30) | (1u << 31));
}

bool deliver(HWND window, const std::vector<Message>& messages)
{
    CREATESTRUCTA blank{};
    bool allTaken = true;
    for (const Message& m : messages)
        for (int i = 0; i < m.times; ++i) {
            const LPARAM lParam = m.message == WM_CREATE ? reinterpret_cast<LPARAM>(&blank) : m.lParam;
            DWORD_PTR answer = 0;
            allTaken &= m.how == Post ? PostMessageA(window, m.message, m.wParam, lParam) != 0
                                      : SendMessageTimeoutA(window, m.message, m.wParam, lParam, SMTO_ABORTIFHUNG,
                                                            5000, &answer) != 0;
        }
    return allTaken;
}

std::vector<Message> strayMessages()
{
    HWND desktop = GetDesktopWindow();
    const auto foreignW = reinterpret_cast<WPARAM>(desktop);
    const auto foreignL = reinterpret_cast<LPARAM>(desktop);
    return {
        {Send, WM_INITDIALOG},
        {Post, WM_COMMAND, MAKEWPARAM(9999, BN_CLICKED)},
        {Post, WM_TIMER, 1},
        {Send, WM_SIZE, SIZE_RESTORED, 0},
        {Post, WM_SIZE, SIZE_RESTORED, MAKELPARAM(65535, 65535)},
        {Post, WM_PAINT},
        {Send, WM_PALETTECHANGED, foreignW},
        {Send, WM_QUERYNEWPALETTE},
        {Send, WM_ACTIVATE, WA_INACTIVE, foreignL, 3},
        {Send, WM_ACTIVATEAPP, FALSE, 0, 3},
        {Send, WM_NCACTIVATE, FALSE, 0, 3},
        {Send, WM_ACTIVATE, WA_ACTIVE, foreignL},
        {Send, WM_ACTIVATEAPP, TRUE},
        {Send, WM_NCACTIVATE, TRUE},
    };
}

}  // namespace ui
