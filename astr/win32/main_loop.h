// The loop that handles the window's messages and draws a frame whenever
// none is waiting.
#pragma once

#include <cstdint>

// 1 from the start; cleared only when the window closes.
extern int32_t running;
extern int32_t drawing;

// Runs until the window has closed; answers the exit code.
int runMainLoop();
