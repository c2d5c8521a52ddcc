#include "main_loop.h"

#include <atomic>

#include "../core/frame_clock.h"
#include "../core/particles.h"
#include "../render/frame_loop.h"
#include "count_memory.h"
#include "fps_overlay.h"
#include "saver_window.h"

int32_t running = 1;

namespace {

// Counted by the SIGCONT handler, on whichever thread the signal lands.
std::atomic<unsigned> resumes;
static_assert(std::atomic<unsigned>::is_always_lock_free, "the counter is used from a signal handler");
unsigned resumesSeen;

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
    void (*const overlay)() = options.fps ? drawFpsOverlay : nullptr;
    startFrameLoop();
    while (running == 1) {
        handlePendingEvents();
        if (running != 1)
            break;
        const bool measuring = measuringFrames();
        if (measuring) {
            const unsigned resumesBefore = resumes.load();
            const float seconds = drawMeasuredFrame(overlay);
            if (resumes.load() == resumesBefore)  // a frame that held a pause measures the pause
                noteMeasuredFrame(seconds);
        } else {
            drawOneFrame(overlay);
        }
        // The delay leaves the machine to others. Calibration, and a warm
        // start's measured frames, go without it: after a pause GL's drawing
        // threads start cold, and a frame took half again as long here.
        if (calibrationFrames == 0 && !measuring && options.delayMicroseconds > 0)
            waitForEvents(options.delayMicroseconds);
        updateFrameTiming();
        skipAPause();
    }
}
