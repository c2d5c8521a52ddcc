// The texts of the statistics dialog, formatted from the figures of a run.
// Plain logic; the dialog procedure only hands them to its fields.
#pragma once

#include <cstddef>
#include <cstdint>

#include "frame_clock.h"

// Enough for any figure: the widest is a float's largest value times the
// largest 32-bit count, printed with one decimal.
constexpr size_t statsTextCapacity = 64;

struct StatsTexts {
    char particles[statsTextCapacity];     // "%i"
    char resolution[statsTextCapacity];    // "%i x %i"
    char colorBits[statsTextCapacity];     // "%i"
    char depthBits[statsTextCapacity];     // "%i"
    char frameRate[statsTextCapacity];     // "%.1f" of 1 / frameSeconds, rounded to a float
    char particleRate[statsTextCapacity];  // "%.1f" of that float times the count, in double
};

// When the last frame was too short to measure (frameSeconds 0, or so short
// that its inverse is no finite float), both rates show "-".
StatsTexts formatStatsTexts(int32_t particleCount, const RunStats& stats);
