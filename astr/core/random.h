// The screensaver's one random source: a 32-bit multiplicative congruential
// generator that hands out uniform integers in closed ranges.
#pragma once

#include <cstdint>

extern uint32_t randomState;

void seedRandom(uint32_t seed);

// A uniform value from 0 to n, n included.
uint32_t randomBelow(uint32_t n);

// A uniform value from low to high, both included.
uint32_t randomRange(uint32_t low, uint32_t high);
