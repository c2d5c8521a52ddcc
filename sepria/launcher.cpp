// sepria: shows the package's details from its INF file and, on Setup,
// starts the platform's INF installer on that file.
#include <windows.h>

#include "inf_loader.h"
#include "inf_reader.h"
#include "resource.h"
#include "setup_command.h"

STARTUPINFOA setupStartupInfo;
PROCESS_INFORMATION setupProcessInfo;

namespace {

bool setupRun;

// The installer runs on its own: the launcher neither waits for it nor looks
// at what CreateProcessA answers. It is started once: the ended dialog lives
// on, hidden, while the notification shows, and a second Setup that reaches
// it then must start nothing.
void runSetup(HWND dialog)
{
    if (setupRun)
        return;
    setupRun = true;
    CreateProcessA(nullptr, setupCommand, nullptr, nullptr, FALSE,
                   CREATE_NEW_PROCESS_GROUP | CREATE_DEFAULT_ERROR_MODE, nullptr, nullptr, &setupStartupInfo,
                   &setupProcessInfo);
    EndDialog(dialog, 1);
    if (infDescriptor.notify[0] != '\0')
        MessageBoxA(nullptr, infDescriptor.notify, "Notify", MB_OK);
}

}  // namespace

INT_PTR CALLBACK setupDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        SetDlgItemTextA(dialog, IDC_VENDOR_EDIT, infDescriptor.vendor);
        SetDlgItemTextA(dialog, IDC_TITLE_EDIT, infDescriptor.title);
        SetDlgItemTextA(dialog, IDC_VERSION_EDIT, infDescriptor.version);
        SetDlgItemTextA(dialog, IDC_SIZE_EDIT, infDescriptor.size);
        return TRUE;  // the focus goes to the first tab stop, Setup
    case WM_COMMAND:
        // Escape arrives as IDCANCEL and, like the edits' commands, does nothing.
        if (LOWORD(wParam) == IDC_SETUP_BUTTON)
            runSetup(dialog);
        else if (LOWORD(wParam) == IDC_EXIT_BUTTON)
            EndDialog(dialog, 1);
        return TRUE;
    case WM_CLOSE:
        EndDialog(dialog, 1);
        return TRUE;
    }
    return FALSE;
}

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    ZeroMemory(&setupStartupInfo, sizeof setupStartupInfo);
    setupStartupInfo.cb = sizeof setupStartupInfo;
    ZeroMemory(&setupProcessInfo, sizeof setupProcessInfo);

    if (!loadInfDescriptor())
        return 1;
    formatSetupCommand(infDescriptor.infFileName);
    CreateDCA("DISPLAY", nullptr, nullptr, nullptr);
    DialogBoxParamA(GetModuleHandleA(nullptr), "SETUP_DLG", nullptr, setupDialogProc, 0);
    return 0;
}
