// One frame of the picture: the simulation advanced by one step, the
// attractor drawn as five glowing squares and every particle as a small
// square at its previous and at its new place.
#pragma once

// Needs the state of setupGlState, identity matrices and a viewport over the
// whole client area; the caller clears the frame first.
void drawFrame();
