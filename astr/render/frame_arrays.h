// The frame of drawFrame drawn from client-side arrays: the same squares in
// the same order, with the same corners, texture coordinates and colours,
// gathered while the one frame sequence runs and sent with one draw call
// for each texture, so that GL's per-vertex calls go.
#pragma once

// Needs what drawFrame needs. Leaves the vertex, texture coordinate and
// colour arrays disabled again, as immediate mode elsewhere expects them;
// the current colour is undefined afterwards, so what draws next sets its own.
void drawFrameFromArrays();
