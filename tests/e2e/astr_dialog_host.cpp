// Opens astr's statistics dialog from astr's own resources, showing a run
// with the figures given, for the tests to work:
//   astr_dialog_host stats PARTICLES WIDTH HEIGHT COLOR_BITS DEPTH_BITS FRAME_SECONDS
// Exit code 0 once the dialog has ended, 2 for any other command line.
#include <windows.h>

#include <cstdio>

#include "../../astr/core/frame_clock.h"
#include "../../astr/core/particles.h"
#include "../../astr/win32/stats_dialog.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int)
{
    char extra;
    if (std::sscanf(commandLine, "stats %d %d %d %d %d %f %c", &particleCount, &runStats.windowWidth,
                    &runStats.windowHeight, &runStats.colorBits, &runStats.depthBits, &runStats.frameSeconds,
                    &extra) != 6)
        return 2;
    DialogBoxParamA(instance, "ASTR_STS", nullptr, statsDialogProc, 0);
    return 0;
}
