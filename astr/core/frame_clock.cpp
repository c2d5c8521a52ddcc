#include "frame_clock.h"

#include "particles.h"
#include "platform.h"
#include "settings.h"

RunStats runStats;

namespace {

uint32_t readTick()
{
    return static_cast<uint32_t>(readPerformanceCounter());
}

}  // namespace

void startFrameTiming()
{
    // The whole frequency: a counter may tick faster than 2^32 times a second.
    const uint64_t frequency = readPerformanceFrequency();
    runStats.secondsPerTick = frequency != 0 ? static_cast<float>(1.0 / static_cast<double>(frequency)) : 0.0f;
    runStats.lastTick = readTick();
    updateFrameTiming();
    runStats.elapsedSeconds = 0.0f;
    runStats.stepSeconds = 0.0f;
}

void updateFrameTiming()
{
    const uint32_t now = readTick();
    const uint32_t ticks = now - runStats.lastTick;  // a wrap of the low word cancels out

    // Without a counter nothing can be measured; every frame then counts as
    // the fixed step, so that the swarm still moves.
    if (runStats.secondsPerTick != 0.0f)
        runStats.frameSeconds = static_cast<float>(static_cast<double>(ticks) * runStats.secondsPerTick);
    else
        runStats.frameSeconds = runStats.fixedStepSeconds;
    runStats.stepSeconds = runStats.frameSeconds;
    if (calibrationFrames == 0 && settings.FixedSync == 1)
        runStats.stepSeconds = runStats.fixedStepSeconds;
    runStats.elapsedSeconds = static_cast<float>(double{runStats.elapsedSeconds} + runStats.frameSeconds);
    runStats.lastTick = now;
}

void resetFrameTiming()
{
    runStats.lastTick = readTick();
}

void discardPausedFrame()
{
    runStats.elapsedSeconds = static_cast<float>(double{runStats.elapsedSeconds} - runStats.frameSeconds +
                                                 runStats.fixedStepSeconds);
    runStats.stepSeconds = runStats.fixedStepSeconds;
    runStats.frameSeconds = runStats.stepSeconds;
    resetFrameTiming();
}
