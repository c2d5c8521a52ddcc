// The swarm of the fixed frame, which fixed_frame draws for the comparison
// with the Windows builds and the native picture tests draw both ways.
#pragma once

#include "../../astr/core/frame_clock.h"
#include "../../astr/core/particles.h"
#include "../../tools/headless_frame.h"

constexpr int fixedFrameWidth = 640, fixedFrameHeight = 480;

// A seed, a count and 300 steps of 10 ms: the swarm spread out around the
// glow, the view turned by 30 degrees.
inline void setFixedSwarm()
{
    initSimulation(20261208);
    spinDegrees = 0.0f;
    calibrationFrames = 0;
    particleCount = 4096;
    runStats.fixedStepSeconds = fixedStep;
    runStats.stepSeconds = fixedStep;
    for (int frame = 0; frame < 300; ++frame)
        simulateFrame();
}
