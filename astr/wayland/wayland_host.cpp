// The Wayland host: a window of its own, or, with --cover, every output
// covered (cover.cpp); each surface's frames paced by the compositor's frame
// callbacks and the delay, so that an output hidden or asleep costs nothing.
#include "wayland_host.h"

#include <chrono>
#include <cstdlib>

#include "../core/fatal_error.h"
#include "../linux/hosts.h"
#include "../linux/options.h"
#include "../linux/pauses.h"
#include "wayland_surface.h"

namespace {

// A wait this much longer than the delay held a pause: the output was off,
// asleep or hidden, and that time is no step of the swarm.
constexpr std::chrono::seconds pauseLength{1};

// Handles events until the compositor welcomes the next frame and the delay
// has passed; answers whether that took a pause's length.
bool waitToDrawAgain(long delayMicroseconds)
{
    using clock = std::chrono::steady_clock;
    const clock::time_point end = clock::now() + std::chrono::microseconds(delayMicroseconds);
    while (!inputEndsRun && !surfaceClosed && (!frameWelcome || clock::now() < end)) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - clock::now()).count() + 1;
        dispatchEvents(frameWelcome ? static_cast<int>(left) : -1);
    }
    return clock::now() - end > pauseLength;
}

}  // namespace

bool runSaverOnSurface(EndingInput endingInput)
{
    hidePointer = endingInput == EndingInput::anything;
    presentHostFrame = presentEglFrame;
    startSaver(surfaceWidth, surfaceHeight, astrelleHooks(endingInput));
    int32_t running = 1;
    while (running == 1) {
        dispatchEvents(0);
        if (inputEndsRun || surfaceClosed) {
            running = 0;
            break;
        }
        // Calibration and measured frames follow at once, as on X11.
        const bool paused = drawSaverFrame() == SaverFrame::shown && waitToDrawAgain(options.delayMicroseconds);
        endSaverFrame(paused || pausedSinceAsked());
    }
    stopSaver();
    releaseSurface();
    endSaver();
    return surfaceClosed && !inputEndsRun;
}

bool waylandAnswers()
{
    return connectToCompositor();
}

int runWaylandHost()
{
    if (!waylandDisplay && !connectToCompositor()) {
        const char* name = std::getenv("WAYLAND_DISPLAY");
        FatalError("Unable to connect to the Wayland compositor \"%s\".", name && *name ? name : "wayland-0");
    }
    if (!compositor || !windowManager)
        FatalError("The Wayland compositor offers no xdg_wm_base.");
    if (options.cover)
        return coverEveryOutput();
    makeWindow(false);
    createEglContext();
    runSaverOnSurface(EndingInput::escapeOrQ);
    return 0;
}
