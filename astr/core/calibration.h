// Fits the number of particles to the machine: during the calibration frames
// the count is scaled towards a frame time of fixedStepSeconds, and the last
// of them restarts the swarm at the count found and sets off what follows:
// normal priority, the music where the run plays it, the clock's restart and
// the count's announcement.
#pragma once

#include <cstdint>

constexpr int32_t smallestParticleCount = 2;

// Runs at the head of every frame while calibrationFrames is not 0.
void calibrationStep();
