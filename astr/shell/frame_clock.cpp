#include "frame_clock.h"

#include "../settings/settings.h"
#include "../sim/particles.h"
#include "platform.h"

RunStats runStats;

namespace {

uint32_t readTick()
{
    return static_cast<uint32_t>(readPerformanceCounter());
}

}  // namespace

void startFrameTiming()
{
    const uint32_t frequency = static_cast<uint32_t>(readPerformanceFrequency());
    runStats.secondsPerTick = static_cast<float>(1.0 / frequency);
    runStats.lastTick = readTick();
    updateFrameTiming();
    runStats.elapsedSeconds = 0.0f;
    runStats.stepSeconds = 0.0f;
}

void updateFrameTiming()
{
    const uint32_t now = readTick();
    const uint32_t ticks = now - runStats.lastTick;  // a wrap of the low word cancels out

    runStats.frameSeconds = static_cast<float>(static_cast<double>(ticks) * runStats.secondsPerTick);
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
