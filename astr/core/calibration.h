// Fits the number of particles to the machine: during the calibration frames
// the count is scaled towards a frame time of fixedStepSeconds, and the last
// of them restarts the swarm at the count found and sets off what follows:
// normal priority, the music where the run plays it, the clock's restart and
// the count's announcement.
#pragma once

#include <cstdint>

constexpr int32_t smallestParticleCount = 2;

// A start's calibration, over the calibrationFrames it is set to: what an
// earlier start was given or checked is forgotten.
void startCalibration();

// Runs at the head of every frame while calibrationFrames is not 0.
void calibrationStep();

// The rule each calibration frame applies: the count scaled towards a frame
// of fixedStepSeconds, for a frame that took frameSeconds at that count.
int32_t scaledParticleCount(int32_t count, float frameSeconds);

// For a start that knows its count already: the next frame ends calibration
// at that count, as the last calibration frame does, without scaling it.
void calibrateTo(int32_t count);

// Why a count is handed on to be kept for a later start.
enum class CountFoundBy {
    partCalibration,  // a quarter of the calibration frames have run: enough to go on from
    calibration,      // the last calibration frame
    check,            // a count a start was given proved far too slow on its first shown frames
};

// Told each count worth keeping for a later start, as it is found: a host may
// end the saver at any moment after. Null: no count is kept.
using CountFound = void (*)(int32_t count, CountFoundBy by);
extern CountFound countFound;

// A count a start was given from an earlier run is checked on its first
// shown frames, each measured: where their median is four times the frame
// time aimed at, or more, the count is far too slow. It is then given up for
// one that fits as if the cost were proportional to the count, and checked
// again at that; the count it comes to is handed to countFound.
constexpr int32_t checkedFrames = 5;
void checkCountOnShownFrames();
// Whether the next frame is one to measure.
bool checkingCount();
// The drawing time of such a frame.
void noteCheckedFrame(float seconds);
