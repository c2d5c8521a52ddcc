// The saver's picture, counted the way the eye sorts it: particles add red
// above all; only the glow adds more green and blue than red, at least where
// the swarm does not crowd it. Pixels are 0xRRGGBB. Shared by the drivers of
// both platforms.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

struct ColourCounts {
    size_t black = 0, orangeRed = 0, blueGreen = 0;
};

inline ColourCounts countColours(const std::vector<uint32_t>& pixels)
{
    ColourCounts counts;
    for (uint32_t p : pixels) {
        const int r = p >> 16 & 0xFF, g = p >> 8 & 0xFF, b = p & 0xFF;
        counts.black += (p & 0xFFFFFF) == 0;
        counts.orangeRed += r > 40 && r > 2 * g && g >= b;
        counts.blueGreen += b > 30 && b > r && g > r;
    }
    return counts;
}

// Orange-red particles and a blue-green glow on black: a few pixels of each
// colour for the area, since the glow is a few dozen pixels on a full
// screen, only a handful in a small window.
inline bool showsTheSwarmAroundItsGlow(const ColourCounts& shown, size_t area)
{
    const size_t few = area / 40000 + 1;
    return shown.black > area / 2 && shown.orangeRed > few && shown.blueGreen > few;
}
