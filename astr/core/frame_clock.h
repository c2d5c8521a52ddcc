// The frame clock: the performance counter turned into frame and step
// lengths, and the run figures the statistics dialog shows.
#pragma once

#include <cstdint>

// Seconds: the frame time calibration aims at, and the step the swarm moves
// by with FixedSync.
constexpr float fixedStep = 0.01f;

struct RunStats {
    float secondsPerTick;    // 1 / counter frequency; 0 when there is no counter
    uint32_t lastTick;       // low 32 bits of the counter at the last update or reset
    float frameSeconds;      // measured length of the last frame
    float stepSeconds;       // what the next simulation step advances by
    float fixedStepSeconds;  // fixedStep once the main loop has begun, 0 before
    float elapsedSeconds;    // frame time summed since it was last cleared
    int32_t colorBits;       // red + green + blue + alpha bits of the context
    int32_t depthBits;
    int32_t windowWidth;     // the window as created
    int32_t windowHeight;
};

extern RunStats runStats;

// Starts the clock: frequency, a first counter read and one update; leaves
// the elapsed time and the step at 0.
void startFrameTiming();

// Measures the frame that has just ended and sets the next step.
void updateFrameTiming();

// Restarts the measurement now without counting a frame.
void resetFrameTiming();

// After the whole process was paused (stopped, then continued): the frame
// just measured, which held the pause, counts as one fixed step, for the
// swarm and for the calibration alike, and the measurement restarts now.
void discardPausedFrame();
