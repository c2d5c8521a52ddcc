// The colours of a palette for an 8-bit pixel format: entry i holds the
// colour whose bit fields the format lays out in i.
#pragma once

#include <cstdint>

// The 0 to 255 value of one colour component of entry index, for a
// component of bits bits at shift shift: its field scaled so that the full
// field gives 255. A component of no bits is 0.
uint8_t paletteComponent(uint32_t index, uint8_t bits, uint8_t shift);
