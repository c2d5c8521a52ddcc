#include <gtest/gtest.h>

#include <array>
#include <cstdint>

#include "../../astr/core/random.h"

TEST(Random, SeedOneGivesTheKnownFirstDraws)
{
    seedRandom(1);
    const std::array<uint32_t, 5> expected{526, 533, 3, 880, 861};
    for (uint32_t value : expected)
        EXPECT_EQ(randomRange(0, 1000), value);
}

TEST(Random, ZeroStateStaysZeroAndAnswersTheLowerBound)
{
    struct Range {
        uint32_t low, high;
    };
    const Range ranges[] = {{0, 1000}, {7, 9999}, {0, 628308}, {5, 5}, {3, 0x7FFFFFFFu}, {0, 0xFFFFFFFFu}};
    seedRandom(0);
    for (const Range& r : ranges) {
        EXPECT_EQ(randomRange(r.low, r.high), r.low) << r.low << ".." << r.high;
        EXPECT_EQ(randomState, 0u);
    }
}

// From seed 1 the state runs through the powers of 1103515245 modulo 2^32:
// 0x41C64E6D, 0xC2A29A69, 0x807DBCB5, ... (worked out by hand).

TEST(Random, BelowZeroAnswersZeroAndStillAdvances)
{
    seedRandom(1);
    // One bit a step, bit 30 of the state: 1, 1, then 0 is taken.
    EXPECT_EQ(randomBelow(0), 0u);
    EXPECT_EQ(randomState, 0x807DBCB5u);
}

TEST(Random, LowestSetBitOfTheStateNeverChanges)
{
    for (uint32_t seed : {2u, 12u, 0x80000000u, 0x00010000u, 7u}) {
        seedRandom(seed);
        const uint32_t lowestBit = seed & (~seed + 1);
        for (int i = 0; i < 1000; ++i) {
            randomRange(0, 1000);
            ASSERT_EQ(randomState & (~randomState + 1), lowestBit) << "seed " << seed;
        }
    }
}

// Every answer lies in its range, and the ends of a small range are reached.
class RandomRangeBounds : public ::testing::TestWithParam<std::array<uint32_t, 2>> {};

TEST_P(RandomRangeBounds, StayInsideTheRange)
{
    const uint32_t low = GetParam()[0], high = GetParam()[1];
    seedRandom(12345);
    uint32_t smallest = UINT32_MAX, largest = 0;
    for (int i = 0; i < 20000; ++i) {
        const uint32_t v = randomRange(low, high);
        ASSERT_GE(v, low);
        ASSERT_LE(v, high);
        smallest = v < smallest ? v : smallest;
        largest = v > largest ? v : largest;
    }
    if (high - low < 100) {
        EXPECT_EQ(smallest, low);
        EXPECT_EQ(largest, high);
    }
}

INSTANTIATE_TEST_SUITE_P(Ranges, RandomRangeBounds,
                         ::testing::Values(std::array<uint32_t, 2>{0, 1}, std::array<uint32_t, 2>{10, 12},
                                           std::array<uint32_t, 2>{0, 1000}, std::array<uint32_t, 2>{0, 2000},
                                           std::array<uint32_t, 2>{0, 9999}, std::array<uint32_t, 2>{0, 628308},
                                           std::array<uint32_t, 2>{0x0FFFFFFFu, 0x10000010u},
                                           std::array<uint32_t, 2>{0, 0x3FFFFFFFu},
                                           std::array<uint32_t, 2>{0, 0xFFFFFFFFu}));

TEST(Random, SmallRangeIsEvenlySpread)
{
    seedRandom(99);
    int counts[10] = {};
    const int draws = 100000;
    for (int i = 0; i < draws; ++i)
        ++counts[randomRange(0, 9)];
    for (int c : counts)
        EXPECT_NEAR(c, draws / 10, draws / 100);
}

TEST(Random, WideRangeTakesTheLowBitsFirstThenTheHigh)
{
    struct Case {
        uint32_t low, high, value, state;
    };
    const Case cases[] = {
        // Low 28 bits: 0x41C64E6D >> 3 = 0x838C9CD; high 4: 0xC2A29A69 without
        // its top bit, >> 27, = 8.
        {0, 0xFFFFFFFFu, 0x8838C9CDu, 0xC2A29A69u},
        // The same first attempt, 0x1838C9CD, lies past 0x1000FFFF and is
        // drawn again (worked out with a Python model of the rules).
        {5, 0x10010004u, 5 + 0x01AC0E5Bu, 0x88FE3E19u},
    };
    for (const Case& c : cases) {
        seedRandom(1);
        EXPECT_EQ(randomRange(c.low, c.high), c.value) << std::hex << c.high;
        EXPECT_EQ(randomState, c.state) << std::hex << c.high;
    }
}
