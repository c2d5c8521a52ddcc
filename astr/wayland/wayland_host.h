// What the Wayland host's files share: the saver run on the surface this
// process has made, and the run that covers every output.
#pragma once

#include "../render/saver.h"

// Draws on the surface, its context made, until input that the rule given
// ends the run, the window's close, or the compositor's closing the
// surface; answers whether the surface was closed by the compositor.
bool runSaverOnSurface(EndingInput endingInput);

// --cover: one process for each output, covering it with its own swarm.
int coverEveryOutput();
