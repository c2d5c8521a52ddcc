// The two luminance tables the screensaver draws with: the glow around the
// attractor and the spot of every particle. Row after row; the first row
// becomes texture row t = 0.
#pragma once

#include <cstdint>

constexpr int glowSpriteSize = 64;
constexpr int particleSpriteSize = 16;

// A round glow centred between texels 31 and 32: a saturated core of 249,
// then a fall to 0 at a radius of about 30 texels, a little lumpy.
extern const uint8_t glowSprite[glowSpriteSize * glowSpriteSize];

// A small star-like spot: 245 to 250 in the four centre texels, 0 at the border.
extern const uint8_t particleSprite[particleSpriteSize * particleSpriteSize];
