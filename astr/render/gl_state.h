// The one GL state every frame is drawn in, set once while the window is
// created, with the two sprite textures. Nothing changes it afterwards: the
// frame drawing only binds one texture or the other.
#pragma once

#include <cstdint>

extern uint32_t glowTexture;      // carries glowSprite, drawn around the attractor
extern uint32_t particleTexture;  // carries particleSprite, drawn for every particle

// Fixes the state, starts the frame clock, seeds and starts the simulation,
// uploads the sprites and notes the context's colour and depth bits in the
// run figures. Needs the new rendering context current and the particle
// buffer created. The window's size is not used; the answer is always 0.
int setupGlState(int width, int height);

// A window's client area of width by height pixels: the viewport over all
// of it, identity matrices, and the aspect factors of its shape. A height
// of 0 counts as 1.
void resizePicture(int32_t width, int32_t height);
