#include "main_loop.h"

#include <GL/gl.h>

#include <atomic>
#include <cstdio>

#include "../core/frame_clock.h"
#include "../core/particles.h"
#include "../core/platform.h"
#include "../core/settings.h"
#include "../render/frame_drawing.h"
#include "fps_overlay.h"
#include "glx_context.h"
#include "saver_window.h"

int32_t running = 1;

namespace {

constexpr float fixedStep = 0.01f;

// Counted by the SIGCONT handler, on whichever thread the signal lands.
std::atomic<unsigned> resumes;
static_assert(std::atomic<unsigned>::is_always_lock_free, "the counter is used from a signal handler");
unsigned resumesSeen;

void primeBuffers()
{
    for (int i = 0; i < 2; ++i) {
        glClear(GL_COLOR_BUFFER_BIT);
        presentFrame();
        glFinish();
        updateFrameTiming();
    }
}

// Calibration frames are measured in full (glFinish) and never shown; the
// frame in which calibration ends is the first one presented.
void drawOneFrame(const Options& options)
{
    const bool calibrating = calibrationFrames != 0;
    glClear(GL_COLOR_BUFFER_BIT);
    drawFrame();
    if (calibrationFrames == 0) {
        if (options.fps)
            drawFpsOverlay();
        presentFrame();
    }
    if (calibrationFrames != 0 || settings.glFinish != 0)
        glFinish();
    if (calibrating && calibrationFrames == 0 && options.verbose)
        std::fprintf(stderr, "astrelle: %d particles in %d x %d\n", static_cast<int>(particleCount),
                     static_cast<int>(runStats.windowWidth), static_cast<int>(runStats.windowHeight));
}

// A host may stop the saver and continue it later: the frame that held the
// pause is not let through as one long step, nor as a slow calibration frame.
void skipAPause()
{
    const unsigned now = resumes.load();
    if (now == resumesSeen)
        return;
    resumesSeen = now;
    discardPausedFrame();
}

}  // namespace

void noteResumed()
{
    resumes.fetch_add(1);
}

void runMainLoop(const Options& options)
{
    setHighPriority();
    primeBuffers();
    runStats.fixedStepSeconds = fixedStep;
    runStats.elapsedSeconds = 0.0f;

    while (running == 1) {
        handlePendingEvents();
        if (running != 1)
            break;
        drawOneFrame(options);
        // The delay leaves the machine to others; calibration measures frames without it.
        if (calibrationFrames == 0 && options.delayMicroseconds > 0)
            waitForEvents(options.delayMicroseconds);
        updateFrameTiming();
        skipAPause();
    }
}
