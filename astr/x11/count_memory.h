// How a start of astrelle comes by its particle count, and what it keeps of
// it for the next start. A start either is given its count (--count), finds
// one remembered for this GL renderer, version and window size (a warm
// start: no unseen frames), or calibrates unseen (a first start, --prec,
// --recalibrate). A calibration's count is remembered as soon as it is
// found, where the platform seam's announceParticleCount is told of it; a
// warm start measures its first shown frames as calibration does, and
// remembers the count they lead to, for the start after it. The platform
// seam's announceParticleCount is astrelle's here, for that moment.
#pragma once

#include "options.h"

// Needs the GL context current and the window's size in the run figures.
// With --verbose, the count and how the start came by it go to standard
// error, and at most one line about the file if it cannot be used.
void chooseStart(const Options& options);

// Whether the next frame is one that a warm start measures.
bool measuringFrames();

// The drawing time of a measured frame; after the last one the count it
// leads to is remembered.
void noteMeasuredFrame(float seconds);
