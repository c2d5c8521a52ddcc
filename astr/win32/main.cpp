// astr: a swarm of particles pulled about by one wandering glow, as the
// platform's screensaver. The host starts it with a switch that asks for the
// configuration dialog, a preview inside its own window, or the full-screen
// run; -init writes the default settings.
#include <windows.h>

#include <cstdint>
#include <cstring>

#include "../core/run_mode.h"
#include "command_line.h"
#include "config_dialog.h"
#include "main_loop.h"
#include "main_window.h"
#include "settings_store.h"
#include "window.h"

namespace {

// The longest command line the platform passes, with its terminating zero.
char commandLine[32768];

int showConfigDialog()
{
    if (mainWindow) {
        // The host hands over its dialog's window; the dialog belongs to its first child.
        SetForegroundWindow(mainWindow);
        mainWindow = GetWindow(mainWindow, GW_CHILD);
    }
    DialogBoxParamA(GetModuleHandleA(nullptr), "ASTR_DLG", mainWindow, configDialogProc, 0);
    return 0;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    // The whole line, program path included: ".exe" in it counts as a switch.
    std::strncpy(commandLine, GetCommandLineA(), sizeof commandLine - 1);
    int32_t window = 0;
    runMode = parseCommandLine(commandLine, window);
    // Handles travel as 32-bit numbers; the platform sign-extends them.
    mainWindow = reinterpret_cast<HWND>(static_cast<intptr_t>(window));

    switch (runMode) {
    case Init:
        writeDefaults();
        return 0;
    case Config:
        return showConfigDialog();
    case Saver:
    case Preview:
        break;
    }
    loadSettings();
    if (!startWindow(instance))
        return 0;
    return runMainLoop();
}
