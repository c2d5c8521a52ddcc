// Known values: float(1 / frequency) and float(ticks x that float), worked
// out once with Python's float32 rounding (struct.pack('f')), not with the
// clock. They are exact: a 32-bit rounding missed or added shows in them.
#include "sim_fixture.h"

using FrameClock = SimTest;

struct FrequencyCase {
    uint64_t frequency;
    float secondsPerTick;
    uint64_t ticks;
    float frameSeconds;
};

class FrameClockFrequency : public SimTest, public ::testing::WithParamInterface<FrequencyCase> {};

TEST_P(FrameClockFrequency, StartTakesTheWholeFrequencyAndLeavesNoStep)
{
    const FrequencyCase c = GetParam();
    fakePlatform.frequency = c.frequency;
    fakePlatform.counter = 0x123456789ull;
    runStats.elapsedSeconds = 3.0f;
    settings.FixedSync = 1;  // where the fixed step applies, the start still leaves none

    startFrameTiming();
    EXPECT_EQ(runStats.secondsPerTick, c.secondsPerTick);
    EXPECT_EQ(runStats.lastTick, 0x23456789u);
    EXPECT_EQ(runStats.frameSeconds, 0.0f);
    EXPECT_EQ(runStats.stepSeconds, 0.0f);
    EXPECT_EQ(runStats.elapsedSeconds, 0.0f);

    fakePlatform.counter += c.ticks;
    updateFrameTiming();
    EXPECT_EQ(runStats.frameSeconds, c.frameSeconds);
}

INSTANTIATE_TEST_SUITE_P(
    Counters, FrameClockFrequency,
    ::testing::Values(
        FrequencyCase{1000, 0.001f, 20, 0.020000001f},                  // not 0.02f: the tick is a float
        FrequencyCase{10000000, 1e-07f, 166667, 0.016666701f},          // not 0.0166667f
        FrequencyCase{0x100000000ull + 1000, 2.3283059e-10f, 71582804,  // the low word alone: 1000 Hz
                      0.016666666f},
        FrequencyCase{0x100000000ull, 2.3283064e-10f, 0x40000000, 0.25f},  // low word 0: was infinite
        FrequencyCase{0x10000000000ull, 9.094947e-13f, 32, 2.910383e-11f}));

TEST_F(FrameClock, MeasuresFramesAndSumsThem)
{
    fakePlatform.frequency = 1000;
    startFrameTiming();
    const struct {
        uint64_t ticks;
        float frameSeconds, elapsedSeconds;
    } frames[] = {{20, 0.020000001f, 0.020000001f},
                  {5, 0.0050000004f, 0.025000002f},
                  {0, 0.0f, 0.025000002f},
                  {40, 0.040000003f, 0.065000005f}};
    for (const auto& frame : frames) {
        fakePlatform.counter += frame.ticks;
        updateFrameTiming();
        EXPECT_EQ(runStats.frameSeconds, frame.frameSeconds) << frame.ticks;
        EXPECT_EQ(runStats.stepSeconds, frame.frameSeconds) << frame.ticks;
        EXPECT_EQ(runStats.elapsedSeconds, frame.elapsedSeconds) << frame.ticks;
    }
}

TEST_F(FrameClock, WrapOfTheLowWordStillGivesTheTrueDifference)
{
    fakePlatform.frequency = 1000;
    fakePlatform.counter = 0x1FFFFFFF0ull;
    startFrameTiming();
    fakePlatform.counter = 0x200000010ull;  // 0x20 ticks later, across a wrap of the low word
    updateFrameTiming();
    EXPECT_EQ(runStats.frameSeconds, 0.032f);
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
    EXPECT_EQ(runStats.frameSeconds, 0.037f);
    EXPECT_EQ(runStats.elapsedSeconds, 0.037f);
    EXPECT_EQ(runStats.stepSeconds, c.fixed ? 0.01f : 0.037f);
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
    EXPECT_EQ(runStats.frameSeconds, 0.010000001f);
    EXPECT_EQ(runStats.elapsedSeconds, 0.010000001f);
    fakePlatform.counter += 20;
    updateFrameTiming();
    EXPECT_EQ(runStats.frameSeconds, 0.020000001f);
}

TEST_F(FrameClock, WithoutACounterEveryFrameCountsAsTheFixedStep)
{
    fakePlatform.frequency = 0;
    runStats.fixedStepSeconds = 0.0f;  // as when the window is created, before the main loop
    startFrameTiming();
    EXPECT_EQ(runStats.secondsPerTick, 0.0f);
    EXPECT_EQ(runStats.frameSeconds, 0.0f);
    EXPECT_EQ(runStats.stepSeconds, 0.0f);

    runStats.fixedStepSeconds = 0.01f;
    calibrationFrames = 3;  // not the fixed step of FixedSync
    for (float elapsed : {0.01f, 0.02f}) {
        fakePlatform.counter += 1000;  // whatever the counter does
        updateFrameTiming();
        EXPECT_EQ(runStats.frameSeconds, 0.01f);
        EXPECT_EQ(runStats.stepSeconds, 0.01f);
        EXPECT_EQ(runStats.elapsedSeconds, elapsed);
    }
}

TEST_F(FrameClock, APausedFrameCountsAsOneFixedStep)
{
    fakePlatform.frequency = 1000;
    startFrameTiming();
    fakePlatform.counter += 10;
    updateFrameTiming();
    fakePlatform.counter += 60000;  // stopped for a minute, then continued
    updateFrameTiming();
    discardPausedFrame();
    EXPECT_EQ(runStats.frameSeconds, 0.01f);
    EXPECT_EQ(runStats.stepSeconds, 0.01f);
    EXPECT_NEAR(runStats.elapsedSeconds, 0.02f, 1e-5f);  // what float sums of a minute can keep
    fakePlatform.counter += 20;  // the next frame is measured from the discard on
    updateFrameTiming();
    EXPECT_EQ(runStats.frameSeconds, 0.020000001f);
}
