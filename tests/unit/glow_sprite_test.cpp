// The generated glow table against the profile it is made to: the mean by
// ring, the row measured, the core, the rim and its lumpiness.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <map>
#include <vector>

#include "../../astr/render/sprites.h"

namespace {

constexpr int core = 3;  // rings 0 to 3 count as one,
constexpr int rim = 30;  // and so do rings 30 and beyond

int texel(int row, int column)
{
    return glowSprite[row * glowSpriteSize + column];
}

// A ring holds the texels whose distance from the centre, between texels 31
// and 32 on both axes, rounds to the same whole number.
int ringOf(int row, int column)
{
    const long ring = std::lround(std::hypot(row - 31.5, column - 31.5));
    return static_cast<int>(std::clamp<long>(ring, core, rim));
}

std::map<int, std::vector<int>> rings()
{
    std::map<int, std::vector<int>> values;
    for (int row = 0; row < glowSpriteSize; ++row)
        for (int column = 0; column < glowSpriteSize; ++column)
            values[ringOf(row, column)].push_back(texel(row, column));
    return values;
}

double mean(const std::vector<int>& values)
{
    double sum = 0.0;
    for (int v : values)
        sum += v;
    return sum / static_cast<double>(values.size());
}

}  // namespace

TEST(GlowSprite, MeanByRingFollowsTheMeasuredProfile)
{
    const std::map<int, double> measured{{core, 249}, {4, 239},  {5, 220},  {6, 195},  {7, 173}, {8, 157}, {10, 127},
                                         {12, 99},    {14, 81},  {16, 67},  {18, 54},  {20, 42}, {22, 31}, {24, 22},
                                         {26, 14},    {28, 6},   {rim, 0}};
    const auto values = rings();
    for (const auto& [ring, expected] : measured)
        EXPECT_NEAR(mean(values.at(ring)), expected, 4.0) << "ring " << ring;
}

TEST(GlowSprite, RowThirtyOneHasTheMeasuredValues)
{
    const int everyFourth[] = {1, 6, 23, 43, 68, 101, 157, 241, 249, 229, 148, 93, 64, 39, 20, 2};
    for (int k = 0; k < 16; ++k)
        EXPECT_EQ(texel(31, 4 * k), everyFourth[k]) << "column " << 4 * k;
}

TEST(GlowSprite, SaturatedCoreDarkRimAndLumpsOfAboutSixteen)
{
    for (int row = 0; row < glowSpriteSize; ++row)
        for (int column = 0; column < glowSpriteSize; ++column) {
            if (std::hypot(row - 31.5, column - 31.5) < 3.5) {
                EXPECT_NEAR(texel(row, column), 249, 4) << row << "," << column;
            }
            if (row == 0 || row == 63 || column == 0 || column == 63) {
                EXPECT_LE(texel(row, column), 1) << row << "," << column;
            }
        }

    // Not a function of the distance alone: within a ring the values stray
    // from the ring's mean by up to about 16.
    double largest = 0.0;
    for (const auto& [ring, values] : rings()) {
        const double m = mean(values);
        for (int v : values)
            largest = std::max(largest, std::abs(v - m));
    }
    EXPECT_GE(largest, 10.0);
    EXPECT_LE(largest, 20.0);
}
