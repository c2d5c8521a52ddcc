#include "sim_fixture.h"

using FrameClock = SimTest;

TEST_F(FrameClock, StartTakesTheLowWordOfTheFrequencyAndLeavesNoStep)
{
    fakePlatform.frequency = 0x100000000ull + 1000;  // only the low 32 bits count
    fakePlatform.counter = 5000;
    runStats.elapsedSeconds = 3.0f;
    startFrameTiming();
    EXPECT_EQ(runStats.secondsPerTick, 0.001f);
    EXPECT_EQ(runStats.lastTick, 5000u);
    EXPECT_EQ(runStats.frameSeconds, 0.0f);
    EXPECT_EQ(runStats.stepSeconds, 0.0f);
    EXPECT_EQ(runStats.elapsedSeconds, 0.0f);
}

TEST_F(FrameClock, MeasuresFramesAndSumsThem)
{
    fakePlatform.frequency = 1000;
    startFrameTiming();
    const uint64_t frames[] = {20, 5, 0, 40};
    float sum = 0.0f;
    for (uint64_t ticks : frames) {
        fakePlatform.counter += ticks;
        updateFrameTiming();
        EXPECT_FLOAT_EQ(runStats.frameSeconds, ticks / 1000.0f);
        EXPECT_EQ(runStats.stepSeconds, runStats.frameSeconds);
        sum += runStats.frameSeconds;
        EXPECT_FLOAT_EQ(runStats.elapsedSeconds, sum);
    }
}

TEST_F(FrameClock, WrapOfTheLowWordStillGivesTheTrueDifference)
{
    fakePlatform.frequency = 1000;
    fakePlatform.counter = 0x1FFFFFFF0ull;
    startFrameTiming();
    fakePlatform.counter = 0x200000010ull;  // 0x20 ticks later, across a wrap of the low word
    updateFrameTiming();
    EXPECT_FLOAT_EQ(runStats.frameSeconds, 0.032f);
}

struct StepCase {
    int32_t calibrationFrames;
    int32_t fixedSync;
    bool fixed;
};

class FrameClockStep : public SimTest, public ::testing::WithParamInterface<StepCase> {};

TEST_P(FrameClockStep, FixedStepOnlyAfterCalibrationWithFixedSyncOne)
{
    const StepCase c = GetParam();
    fakePlatform.frequency = 1000;
    startFrameTiming();
    calibrationFrames = c.calibrationFrames;
    settings.FixedSync = c.fixedSync;
    fakePlatform.counter += 37;
    updateFrameTiming();
    EXPECT_FLOAT_EQ(runStats.frameSeconds, 0.037f);
    EXPECT_EQ(runStats.stepSeconds, c.fixed ? 0.01f : runStats.frameSeconds);
}

INSTANTIATE_TEST_SUITE_P(Settings, FrameClockStep,
                         ::testing::Values(StepCase{0, 1, true}, StepCase{0, 0, false}, StepCase{0, 2, false},
                                           StepCase{12, 1, false}, StepCase{2048, 1, false}));

TEST_F(FrameClock, ResetRestartsTheMeasurementWithoutCountingAFrame)
{
    fakePlatform.frequency = 1000;
    startFrameTiming();
    fakePlatform.counter += 10;
    updateFrameTiming();
    fakePlatform.counter += 500;  // work that must not count as a frame
    resetFrameTiming();
    EXPECT_FLOAT_EQ(runStats.frameSeconds, 0.01f);
    EXPECT_FLOAT_EQ(runStats.elapsedSeconds, 0.01f);
    fakePlatform.counter += 20;
    updateFrameTiming();
    EXPECT_FLOAT_EQ(runStats.frameSeconds, 0.02f);
}
