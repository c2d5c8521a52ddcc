// The X11 host: the saver on the window saver_window.cpp finds or makes,
// with a GLX context, a frame each pass and the delay after it, during which
// the window's events are handled.
#include <cstdlib>

#include "../linux/hosts.h"
#include "../linux/pauses.h"
#include "glx_context.h"
#include "saver_window.h"

int runX11Host()
{
    const WindowChoice choice = chooseWindow(options, std::getenv("XSCREENSAVER_WINDOW"));
    openSaverWindow(choice);
    createGlContext();
    presentHostFrame = presentGlxFrame;
    startSaver(windowWidth, windowHeight, astrelleHooks(ownWindow ? EndingInput::escapeOrQ : EndingInput::none));

    int32_t running = 1;
    while (running == 1) {
        if (!handlePendingEvents()) {
            running = 0;
            break;
        }
        // The delay leaves the machine to others. Calibration, and measured
        // frames, go without it: after a pause GL's drawing threads start
        // cold, and a frame took half again as long here.
        if (drawSaverFrame() == SaverFrame::shown && options.delayMicroseconds > 0 &&
            !waitForEvents(options.delayMicroseconds))
            running = 0;
        endSaverFrame(pausedSinceAsked());
    }

    stopSaver();
    releaseGlContext();
    closeSaverWindow();
    endSaver();
    return 0;
}
