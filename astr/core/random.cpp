#include "random.h"

uint32_t randomState = 0;

namespace {

constexpr uint32_t multiplier = 1103515245u;
constexpr uint32_t widestDraw = 0x0FFFFFFFu;  // 2^28 - 1: the most one state step yields

}  // namespace

void seedRandom(uint32_t seed)
{
    randomState = seed;
}

uint32_t randomBelow(uint32_t n)
{
    if (n > widestDraw) {
        // Wider than one step gives: the low 28 bits first, then the high 4.
        uint32_t v;
        do {
            const uint32_t low = randomBelow(widestDraw);
            const uint32_t high = randomBelow(n >> 28);
            v = low | (high << 28);
        } while (v > n);
        return v;
    }

    unsigned bits = 1;
    while ((uint32_t{1} << bits) <= n)
        ++bits;

    // Take the bits just below the state's top bit; reject what lies past n.
    uint32_t v;
    do {
        randomState *= multiplier;
        v = (randomState & 0x7FFFFFFFu) >> (31 - bits);
    } while (v > n);
    return v;
}

uint32_t randomRange(uint32_t low, uint32_t high)
{
    return low + randomBelow(high - low);
}
