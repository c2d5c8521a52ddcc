#include "ui_driver.h"

namespace ui {

namespace {

struct WindowSearch {
    DWORD processId;
    const char* className;
    const char* caption;
    HWND found;
};

BOOL CALLBACK matchWindow(HWND window, LPARAM data)
{
    auto* search = reinterpret_cast<WindowSearch*>(data);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search->processId || !IsWindowVisible(window) ||
        (search->className && windowClass(window) != search->className) ||
        (search->caption && windowText(window) != search->caption))
        return TRUE;
    search->found = window;
    return FALSE;
}

BOOL CALLBACK collectChild(HWND window, LPARAM data)
{
    reinterpret_cast<std::vector<HWND>*>(data)->push_back(window);
    return TRUE;
}

}  // namespace

HWND waitForWindow(const Program& program, const char* className, const char* caption, DWORD timeoutMs)
{
    WindowSearch search{program.id, className, caption, nullptr};
    waitUntil([&] {
        EnumWindows(matchWindow, reinterpret_cast<LPARAM>(&search));
        return search.found != nullptr;
    }, timeoutMs);
    return search.found;
}

std::string windowText(HWND window)
{
    // WM_GETTEXT, not GetWindowText: across processes only the message
    // reaches what an edit control holds.
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutA(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length))
        return {};
    std::string text(static_cast<size_t>(length) + 1, '\0');
    DWORD_PTR copied = 0;
    SendMessageTimeoutA(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG,
                        5000, &copied);
    text.resize(static_cast<size_t>(copied));
    return text;
}

std::string itemText(HWND dialog, int id)
{
    return windowText(GetDlgItem(dialog, id));
}

std::string windowClass(HWND window)
{
    char name[256] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

std::vector<HWND> children(HWND window)
{
    std::vector<HWND> found;
    EnumChildWindows(window, collectChild, reinterpret_cast<LPARAM>(&found));
    return found;
}

HWND focusedWindow(HWND window)
{
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info);
    return info.hwndFocus;
}

}  // namespace ui
