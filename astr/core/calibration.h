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

// The rule each calibration frame applies: the count scaled towards a frame
// of fixedStepSeconds, for a frame that took frameSeconds at that count.
int32_t scaledParticleCount(int32_t count, float frameSeconds);

// For a start that knows its count already: the next frame ends calibration
// at that count, as the last calibration frame does, without scaling it.
void calibrateTo(int32_t count);

// Calibration while the swarm shows at drawnCount: where the rule takes its
// estimate for a frame that took frameSeconds, the cost taken as
// proportional to the count.
int32_t refinedParticleCount(int32_t estimate, int32_t drawnCount, float frameSeconds);
