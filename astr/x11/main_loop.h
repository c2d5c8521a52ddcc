// The loop that draws a frame, presents it once calibration is over, and
// between frames handles the window's events and waits the delay.
#pragma once

#include <cstdint>

#include "options.h"

// 1 from the start; cleared by the ordinary ends (q, Escape, the window
// manager's close) and when the window has gone.
extern int32_t running;

void runMainLoop(const Options& options);

// Notes that the process was stopped and has just been continued; called
// from the SIGCONT handler.
void noteResumed();
