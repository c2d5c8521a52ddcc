#include "saver.h"

#include <GL/gl.h>

#include <cstdlib>

#include "../core/frame_clock.h"
#include "../core/particles.h"
#include "../core/platform.h"
#include "../core/run_mode.h"
#include "../core/settings.h"
#include "../core/window_state.h"
#include "frame_drawing.h"
#include "gl_state.h"

namespace {

constexpr uint64_t vkEscape = 0x1B;

SaverHooks hooks;
float checkedSeconds = -1;  // the drawing time of the frame just measured, until the pass ends

bool endsTheRun(uint64_t virtualKey)
{
    switch (hooks.endingInput) {
    case EndingInput::none:
        return false;
    case EndingInput::escape:
        return virtualKey == vkEscape;
    case EndingInput::escapeOrQ:
        return virtualKey == vkEscape || virtualKey == 'Q';
    case EndingInput::escapeOrI:
        return virtualKey == vkEscape || virtualKey == 'I';
    case EndingInput::anything:
        return true;
    }
    return false;
}

}  // namespace

void createSaver(const SaverHooks& given)
{
    hooks = given;
    if (!hooks.frameDrawing)
        hooks.frameDrawing = drawFrame;
    countFound = hooks.countFound;
    createParticleBuffer();
}

int setUpSaver(int32_t width, int32_t height)
{
    return setupGlState(width, height);
}

void resizeSaver(int32_t width, int32_t height)
{
    resizePicture(width, height);
}

void beginSaverFrames()
{
    const StartCount start = hooks.chooseCount ? hooks.chooseCount() : StartCount{};
    startCalibration();
    if (start.source != CountSource::calibration)
        calibrateTo(start.count);
    if (start.source == CountSource::remembered)
        checkCountOnShownFrames();

    // The calibration runs at high priority, after two cleared frames shown
    // to prime the buffers, each measured by the clock.
    setHighPriority();
    for (int i = 0; i < 2; ++i) {
        glClear(GL_COLOR_BUFFER_BIT);
        presentFrame();
        glFinish();
        updateFrameTiming();
    }
    runStats.fixedStepSeconds = fixedStep;
    runStats.elapsedSeconds = 0.0f;
}

void startSaver(int32_t width, int32_t height, const SaverHooks& given)
{
    runStats.windowWidth = width;
    runStats.windowHeight = height;
    createSaver(given);
    setUpSaver(width, height);
    resizeSaver(width, height);
    beginSaverFrames();
}

SaverFrame drawSaverFrame()
{
    // A measured frame is finished before it is shown, so that its time is
    // the drawing's alone.
    const bool measured = checkingCount();
    const uint64_t start = measured ? readPerformanceCounter() : 0;
    glClear(GL_COLOR_BUFFER_BIT);
    hooks.frameDrawing();
    if (measured) {
        glFinish();
        const uint64_t ticks = readPerformanceCounter() - start;
        checkedSeconds = static_cast<float>(static_cast<double>(ticks) * runStats.secondsPerTick);
    }
    const bool shown = calibrationFrames == 0;  // the frame that ends calibration included
    if (shown) {
        if (hooks.overlay)
            hooks.overlay();
        presentFrame();
    }
    if (!measured && (!shown || settings.glFinish != 0))
        glFinish();
    return measured ? SaverFrame::measured : shown ? SaverFrame::shown : SaverFrame::unseen;
}

void endSaverFrame(bool paused)
{
    updateFrameTiming();
    if (paused)
        discardPausedFrame();
    else if (checkedSeconds >= 0)
        noteCheckedFrame(checkedSeconds);
    checkedSeconds = -1;
}

bool saverKey(uint64_t virtualKey, bool down)
{
    noteKey(virtualKey, down);
    return !down || !endsTheRun(virtualKey);
}

bool saverPointer()
{
    switch (hooks.endingInput) {
    case EndingInput::escapeOrI:
        return calibrationFrames != 0;  // the swarm does not show yet
    case EndingInput::anything:
        return false;
    default:
        return true;
    }
}

void stopSaver()
{
    if (playsBackgroundSound(runMode, settings))
        stopBackgroundSound();
}

void endSaver()
{
    std::free(particleBuffer);
    particleBuffer = nullptr;
}
