#include "frame_loop.h"

#include <GL/gl.h>

#include "../core/frame_clock.h"
#include "../core/particles.h"
#include "../core/platform.h"
#include "../core/settings.h"
#include "frame_drawing.h"

void (*drawPicture)() = drawFrame;

namespace {

// What the host shows before the swarm, each frame measured by the clock.
void primeBuffers()
{
    for (int i = 0; i < 2; ++i) {
        glClear(GL_COLOR_BUFFER_BIT);
        presentFrame();
        glFinish();
        updateFrameTiming();
    }
}

}  // namespace

void startFrameLoop()
{
    setHighPriority();
    primeBuffers();
    runStats.fixedStepSeconds = fixedStep;
    runStats.elapsedSeconds = 0.0f;
}

void drawOneFrame(void (*overlay)())
{
    glClear(GL_COLOR_BUFFER_BIT);
    drawPicture();
    if (calibrationFrames == 0) {
        if (overlay)
            overlay();
        presentFrame();
    }
    if (calibrationFrames != 0 || settings.glFinish != 0)
        glFinish();
}

float drawMeasuredFrame(void (*overlay)())
{
    const uint64_t start = readPerformanceCounter();
    glClear(GL_COLOR_BUFFER_BIT);
    drawPicture();
    glFinish();
    const uint64_t ticks = readPerformanceCounter() - start;
    if (overlay)
        overlay();
    presentFrame();
    return static_cast<float>(static_cast<double>(ticks) * runStats.secondsPerTick);
}
