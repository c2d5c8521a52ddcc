// One frame of the picture: the simulation advanced by one step, the
// attractor drawn as five glowing squares and every particle as a small
// square at its previous and at its new place.
#pragma once

#include "frame_sequence.h"

// Needs the state of setupGlState, identity matrices and a viewport over the
// whole client area; the caller clears the frame first.
void drawFrame();

// Texture coordinates of a square's corners 1 to 4, in the order it is drawn:
// top left, top right, bottom right, bottom left.
extern const float cornerTexCoords[4][2];

// The frame's two GL steps, also for drawing squares without the simulation:
// bind the sprite's texture; draw one textured square (see DrawSprite).
void bindSprite(Sprite sprite);
void drawSprite(float cx, float cy, float hx, float hy, const float* color);
