#include "headless_frame.h"

#include "../astr/sim/particles.h"

void simulateFrame()
{
    beginFrameStep();
    // The drawing also projects the attractor here; that projection is a pure
    // function that changes no state, so the headless frame leaves it out.
    for (int32_t i = 0; i < particleCount; ++i)
        stepParticle(i, spinSin, spinCos);
}
