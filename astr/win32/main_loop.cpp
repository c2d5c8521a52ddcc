#include "main_loop.h"

#include <windows.h>

#include "../render/saver.h"
#include "stats_dialog.h"

int32_t running = 1;
int32_t drawing = 1;

int runMainLoop()
{
    beginSaverFrames();

    MSG message{};
    while (running == 1) {
        // Every waiting message first, without ever blocking while a frame can be drawn.
        while (PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE)) {
            if (!GetMessageA(&message, nullptr, 0, 0))
                return 0;  // the quit message the close handling posts: the ordinary end
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        if (drawing == 1)
            drawSaverFrame();
        endSaverFrame();
    }

    // Reached only when the window closed before the loop began (a preview
    // host that destroyed its window during start-up). The dialog comes from
    // the program's own module: the class's may be the GL library, already
    // released.
    DialogBoxParamA(GetModuleHandleA(nullptr), "ASTR_STS", nullptr, statsDialogProc, 0);
    return static_cast<int>(message.wParam);
}
