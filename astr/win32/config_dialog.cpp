#include "config_dialog.h"

#include "config_controls.h"
#include "settings_store.h"

namespace {

bool settingsShown;

// Each setting is read just before its buttons are set, and every button of
// a group is set, in id order, so the group shows exactly one choice.
void showSettings(HWND dialog)
{
    for (const SettingControls& controls : settingControls) {
        bool checked[maxButtonsPerSetting] = {};
        buttonsForStoredValue(controls, readSetting(settingEntry(controls.setting).name), checked);
        for (int i = 0; i < buttonCount(controls); ++i)
            CheckDlgButton(dialog, controls.firstButton + i, checked[i] ? BST_CHECKED : BST_UNCHECKED);
    }
}

// Every setting is written, changed or not; a failed write is told at once
// and the next one is still made.
void saveSettings(HWND dialog)
{
    for (const SettingControls& controls : settingControls) {
        bool checked[maxButtonsPerSetting] = {};
        for (int i = 0; i < buttonCount(controls); ++i)
            checked[i] = IsDlgButtonChecked(dialog, controls.firstButton + i) == BST_CHECKED;
        if (!writeSetting(settingEntry(controls.setting).name, valueForButtons(controls, checked)))
            MessageBoxA(nullptr, "REG write failed.", "Astrelle", MB_OK | MB_ICONHAND);
    }
}

}  // namespace

INT_PTR CALLBACK configDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        // Once: the controls are the only copy of the user's choices, and
        // another program's WM_INITDIALOG would put the stored ones back.
        if (!settingsShown)
            showSettings(dialog);
        settingsShown = true;
        return TRUE;
    case WM_COMMAND:
        // Escape arrives as IDCANCEL; the buttons' own notifications are ignored.
        if (LOWORD(wParam) == IDOK) {
            saveSettings(dialog);
            EndDialog(dialog, 1);
            return TRUE;
        }
        if (LOWORD(wParam) == IDCANCEL) {
            EndDialog(dialog, 1);
            return TRUE;
        }
        return FALSE;
    case WM_CLOSE:
        EndDialog(dialog, 1);
        return TRUE;
    }
    return FALSE;
}
