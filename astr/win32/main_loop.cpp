#include "main_loop.h"

#include <windows.h>
#include <GL/gl.h>

#include <cstdio>

#include "../core/frame_clock.h"
#include "../core/particles.h"
#include "../core/platform.h"
#include "../core/settings.h"
#include "../render/frame_drawing.h"
#include "stats_dialog.h"
#include "window.h"

int32_t running = 1;
int32_t drawing = 1;

namespace {

constexpr float fixedStep = 0.01f;

void primeBuffers()
{
    for (int i = 0; i < 2; ++i) {
        glClear(GL_COLOR_BUFFER_BIT);
        SwapBuffers(deviceContext);
        glFinish();
        updateFrameTiming();
    }
}

// Tells a debugger (and a developer running under Wine with +debugstr) what
// the calibration found, once.
void announceCalibration()
{
    char text[96];
    std::snprintf(text, sizeof text, "astr: %d particles in %d x %d\n", static_cast<int>(particleCount),
                  static_cast<int>(runStats.windowWidth), static_cast<int>(runStats.windowHeight));
    OutputDebugStringA(text);
}

// Calibration frames are measured in full (glFinish) and never shown; the
// frame in which calibration ends is the first one presented.
void drawOneFrame()
{
    const bool calibrating = calibrationFrames != 0;
    glClear(GL_COLOR_BUFFER_BIT);
    drawFrame();
    if (calibrationFrames == 0)
        SwapBuffers(deviceContext);
    if (calibrationFrames != 0 || settings.glFinish != 0)
        glFinish();
    if (calibrating && calibrationFrames == 0)
        announceCalibration();
}

}  // namespace

int runMainLoop()
{
    setHighPriority();
    primeBuffers();
    runStats.fixedStepSeconds = fixedStep;
    runStats.elapsedSeconds = 0.0f;

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
            drawOneFrame();
        updateFrameTiming();
    }

    // Reached only when the window closed before the loop began (a preview
    // host that destroyed its window during start-up). The dialog comes from
    // the program's own module: the class's may be the GL library, already
    // released.
    DialogBoxParamA(GetModuleHandleA(nullptr), "ASTR_STS", nullptr, statsDialogProc, 0);
    return static_cast<int>(message.wParam);
}
