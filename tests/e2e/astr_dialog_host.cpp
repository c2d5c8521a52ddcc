// Opens astr's two dialogs from astr's own resources, the way the screensaver
// does, for the tests to work:
//   astr_dialog_host /c
//       the configuration dialog, as `astr.scr /c` shows it
//   astr_dialog_host stats PARTICLES WIDTH HEIGHT COLOR_BITS DEPTH_BITS FRAME_SECONDS
//       the statistics dialog, showing a run with those figures
// Exit code 0 once the dialog has ended, 2 for any other command line.
#include <windows.h>

#include <cstdio>
#include <cstring>

#include "../../astr/settings/config_dialog.h"
#include "../../astr/settings/stats_dialog.h"
#include "../../astr/shell/frame_clock.h"
#include "../../astr/sim/particles.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int)
{
    if (std::strcmp(commandLine, "/c") == 0) {
        DialogBoxParamA(instance, "ASTR_DLG", nullptr, configDialogProc, 0);
        return 0;
    }
    char extra;
    if (std::sscanf(commandLine, "stats %d %d %d %d %d %f %c", &particleCount, &runStats.windowWidth,
                    &runStats.windowHeight, &runStats.colorBits, &runStats.depthBits, &runStats.frameSeconds,
                    &extra) == 6) {
        DialogBoxParamA(instance, "ASTR_STS", nullptr, statsDialogProc, 0);
        return 0;
    }
    return 2;
}
