// The six texts of the statistics dialog.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../../astr/core/stats_text.h"

struct StatsCase {
    const char* name;
    int32_t particleCount;
    int32_t width, height, colorBits, depthBits;
    float frameSeconds;
    std::vector<std::string> texts;  // particles, resolution, colour, depth, frames/s, particles/s
};

class StatsTextsOf : public ::testing::TestWithParam<StatsCase> {};

TEST_P(StatsTextsOf, ARun)
{
    const StatsCase& c = GetParam();
    RunStats stats{};
    stats.windowWidth = c.width;
    stats.windowHeight = c.height;
    stats.colorBits = c.colorBits;
    stats.depthBits = c.depthBits;
    stats.frameSeconds = c.frameSeconds;
    const StatsTexts texts = formatStatsTexts(c.particleCount, stats);
    EXPECT_EQ((std::vector<std::string>{texts.particles, texts.resolution, texts.colorBits, texts.depthBits,
                                        texts.frameRate, texts.particleRate}),
              c.texts);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Runs, StatsTextsOf, ::testing::Values(
    StatsCase{"FiftyFrames", 10000, 640, 480, 32, 16, 0.02f,
              {"10000", "640 x 480", "32", "16", "50.0", "500000.0"}},
    // 1 / 0.016 rounds to the float just below 62.5 before it is multiplied.
    StatsCase{"RateRoundedToFloatFirst", 32768, 1024, 768, 24, 24, 0.016f,
              {"32768", "1024 x 768", "24", "24", "62.5", "2047999.9"}},
    StatsCase{"NoParticles", 0, 320, 240, 16, 0, 0.02f, {"0", "320 x 240", "16", "0", "50.0", "0.0"}},
    StatsCase{"UnmeasuredFrame", 5000, 800, 600, 32, 16, 0.0f, {"5000", "800 x 600", "32", "16", "-", "-"}},
    StatsCase{"FrameTooShortForAFloatRate", 5000, 800, 600, 32, 16, 1e-39f,
              {"5000", "800 x 600", "32", "16", "-", "-"}},
    // The widest texts there can be still fit.
    StatsCase{"Widest", INT32_MIN, INT32_MIN, INT32_MIN, INT32_MIN, INT32_MIN, 3e-39f,
              {"-2147483648", "-2147483648 x -2147483648", "-2147483648", "-2147483648",
               "333333268589764139097733072037907267584.0",
               "-715827743630910508889179246070211893277000466432.0"}}
), [](const auto& info) { return info.param.name; });
// clang-format on
