// The hosts astrelle runs under, one folder each, linked into the one
// program: each is its window, its GL context, its events and its loop, and
// drives the saver through its contract. Each answers the exit status.
#pragma once

#include "../render/saver.h"

// The saver's hooks as every host of astrelle sets them, for a run that
// input ends as given: drawn from arrays, its count chosen and kept, the
// frame rate over it with --fps.
SaverHooks astrelleHooks(EndingInput endingInput);

// How the running host presents a frame (presentFrame, of the platform seam).
extern void (*presentHostFrame)();

int runX11Host();

// Whether $WAYLAND_DISPLAY names a compositor that answers; the host then
// keeps the connection for its run.
bool waylandAnswers();
int runWaylandHost();
