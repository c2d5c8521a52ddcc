#include "stats_text.h"

#include <cmath>
#include <cstdio>
#include <cstring>

namespace {

const char unmeasuredRateText[] = "-";

}  // namespace

StatsTexts formatStatsTexts(int32_t particleCount, const RunStats& stats)
{
    StatsTexts texts;
    std::snprintf(texts.particles, statsTextCapacity, "%i", particleCount);
    std::snprintf(texts.resolution, statsTextCapacity, "%i x %i", stats.windowWidth, stats.windowHeight);
    std::snprintf(texts.colorBits, statsTextCapacity, "%i", stats.colorBits);
    std::snprintf(texts.depthBits, statsTextCapacity, "%i", stats.depthBits);

    // The rate of the last frame alone, rounded to a float before it is
    // multiplied: that rounding shows in the first decimal for large counts.
    const float frameRate = 1.0f / stats.frameSeconds;
    if (!std::isfinite(frameRate)) {
        std::strcpy(texts.frameRate, unmeasuredRateText);
        std::strcpy(texts.particleRate, unmeasuredRateText);
        return texts;
    }
    std::snprintf(texts.frameRate, statsTextCapacity, "%.1f", frameRate);
    std::snprintf(texts.particleRate, statsTextCapacity, "%.1f",
                  static_cast<double>(frameRate) * static_cast<double>(particleCount));
    return texts;
}
