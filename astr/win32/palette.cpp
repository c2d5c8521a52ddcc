#include "palette.h"

uint8_t paletteComponent(uint32_t index, uint8_t bits, uint8_t shift)
{
    if (bits == 0)
        return 0;  // nothing to scale, and no division by a zero mask
    const uint64_t mask = bits >= 32 ? 0xFFFFFFFFu : (uint64_t{1} << bits) - 1;
    const uint64_t field = shift >= 32 ? 0 : (index >> shift) & mask;
    return static_cast<uint8_t>(field * 255 / mask);
}
