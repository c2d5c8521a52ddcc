#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "../../astr/core/calibration.h"
#include "sim_fixture.h"

struct CountCase {
    int32_t count;
    float frameSeconds;
    int32_t next;
};

class CalibrationCount : public SimTest, public ::testing::WithParamInterface<CountCase> {};

TEST_P(CalibrationCount, ScalesTowardsTheTargetFrameTime)
{
    const CountCase c = GetParam();
    calibrationFrames = 10;
    particleCount = c.count;
    runStats.frameSeconds = c.frameSeconds;
    calibrationStep();
    EXPECT_EQ(particleCount, c.next);
    EXPECT_EQ(calibrationFrames, 9);
}

INSTANTIATE_TEST_SUITE_P(
    Counts, CalibrationCount,
    ::testing::Values(CountCase{32768, 0.04f, 16384},    // ratio 0.5
                      CountCase{16384, 0.02f, 11585},    // ratio 0.70710677
                      CountCase{19601, 0.02f, 13859},    // 13860 with the ratio not rounded to a float
                      CountCase{32768, 0.0025f, 32768},  // ratio 2, held at the pool size
                      CountCase{16384, 0.0025f, 32768},  // exactly the pool size
                      CountCase{20000, 0.0025f, 32768},  // 40000
                      CountCase{19, 1.0f, 2},            // 1.9 is raised to the smallest count
                      CountCase{29, 1.0f, 2},            // 2.9 is cut, not rounded
                      CountCase{2, 100.0f, 2},
                      CountCase{1000, 0.0f, 32768}));    // an unmeasured frame: infinite ratio

TEST_F(SimTest, UnsetTargetAndUnmeasuredFrameGiveTheWholePool)
{
    calibrationFrames = 5;
    particleCount = 100;
    runStats.fixedStepSeconds = 0.0f;
    runStats.frameSeconds = 0.0f;  // 0 / 0
    calibrationStep();
    EXPECT_EQ(particleCount, poolSize);
}

// What the end of calibration sets off, in order: the music only in a
// full-screen run with Music 1, the clock's restart after it, the count told last.
struct EndCase {
    RunMode mode;
    int32_t music;
    std::vector<std::string> effects;
};

class CalibrationEnd : public SimTest, public ::testing::WithParamInterface<EndCase> {};

INSTANTIATE_TEST_SUITE_P(
    Runs, CalibrationEnd,
    ::testing::Values(
        EndCase{Saver, 1, {"priority normal", "sound", "clock", "announce 500 particles in 640 x 480"}},
        EndCase{Saver, 2, {"priority normal", "clock", "announce 500 particles in 640 x 480"}},
        EndCase{Preview, 1, {"priority normal", "clock", "announce 500 particles in 640 x 480"}}));

TEST_P(CalibrationEnd, RestartsTheSwarmAndSetsOffWhatFollows)
{
    runMode = GetParam().mode;
    settings.Music = GetParam().music;
    runStats.windowWidth = 640;
    runStats.windowHeight = 480;
    initSimulation(1);
    calibrationFrames = 1;
    particleCount = 1000;
    runStats.frameSeconds = 0.04f;
    runStats.stepSeconds = 0.3f;
    runStats.elapsedSeconds = 2.5f;
    attractor.position = Vector3{0.1f, -0.1f, 0.05f};
    attractor.velocity = Vector3{0.01f, 0.02f, 0.03f};
    fakePlatform.counter = 0x123456789ull;
    fakePlatform.counterStep = 1;
    particleBuffer[3].screenX = 0.25f;
    particleBuffer[7].velocity = Vector3{0.01f, -0.02f, 0.03f};

    calibrationStep();

    EXPECT_EQ(calibrationFrames, 0);
    EXPECT_EQ(particleCount, 500);
    EXPECT_EQ(attractor.position.x, 0.0f);
    EXPECT_EQ(attractor.position.y, 0.0f);
    EXPECT_EQ(attractor.velocity.z, 0.0f);
    for (int32_t i = 0; i < particleCount; ++i) {
        const Vector3 p = particleBuffer[i].position;
        ASSERT_NEAR(std::sqrt(double{p.x} * p.x + double{p.y} * p.y + double{p.z} * p.z), 0.0044721, 1e-6);
        ASSERT_EQ(particleBuffer[i].velocity.x, 0.0f);
        ASSERT_EQ(particleBuffer[i].velocity.y, 0.0f);
        ASSERT_EQ(particleBuffer[i].velocity.z, 0.0f);
    }
    EXPECT_EQ(particleBuffer[3].screenX, 0.25f);  // the calibration frames' place is kept
    EXPECT_EQ(runStats.stepSeconds, 0.01f);
    EXPECT_EQ(runStats.elapsedSeconds, 0.0f);
    EXPECT_EQ(runStats.lastTick, 0x23456789u);  // the clock was restarted
    EXPECT_EQ(runStats.frameSeconds, 0.04f);
    EXPECT_EQ(fakePlatform.effects, GetParam().effects);
}

TEST_F(SimTest, ReturnsFromEveryFrameButTheLast)
{
    calibrationFrames = 3;
    runStats.frameSeconds = 0.01f;
    calibrationStep();
    calibrationStep();
    EXPECT_EQ(calibrationFrames, 1);
    EXPECT_TRUE(fakePlatform.effects.empty());
    calibrationStep();
    EXPECT_EQ(calibrationFrames, 0);
    EXPECT_FALSE(fakePlatform.effects.empty());
}

// Known values worked out once with a separate Python model of the rules
// (float32 rounding by struct.pack('f')), not with the code under test.
TEST_F(SimTest, DefaultCalibrationEndsInsideFrame256WhichMovesTheRebornSwarm)
{
    initSimulation(1);
    calibrationFrames = defaultCalibrationFrames;
    runStats.frameSeconds = 0.04f;  // ratio 0.5: the count halves down to 2 by frame 14
    for (int frame = 1; frame < 256; ++frame) {
        runStats.stepSeconds = 0.05f;
        beginFrameStep();
        ASSERT_EQ(calibrationFrames, 256 - frame);
        ASSERT_EQ(particleCount, std::max(poolSize >> std::min(frame, 15), 2));
    }
    runStats.stepSeconds = 0.05f;
    beginFrameStep();
    ASSERT_EQ(calibrationFrames, 0);
    ASSERT_EQ(particleCount, 2);
    EXPECT_EQ(runStats.stepSeconds, 0.01f);

    // Reborn: a draw thrown away, then the angles a and b of each record.
    const Vector3 reborn[] = {{-0.0007436687f, 0.003975893f, 0.001907677f},
                              {-0.003315705f, -0.001844819f, 0.0023670115f}};
    // The same frame then moves them with a step of 0.01 towards the
    // attractor, which has wandered from the origin for 0.01 s.
    const Vector3 moved[] = {{0.005781282f, -0.035709262f, -0.017440764f},
                             {0.029314049f, 0.017115507f, -0.021787573f}};
    EXPECT_FLOAT_EQ(attractor.position.x, -9.44e-05f);
    EXPECT_FLOAT_EQ(attractor.position.y, 2.7e-05f);
    EXPECT_FLOAT_EQ(attractor.position.z, -1.76e-05f);
    for (int32_t i = 0; i < 2; ++i) {
        const Vector3& p = particleBuffer[i].position;
        EXPECT_FLOAT_EQ(p.x, reborn[i].x) << i;
        EXPECT_FLOAT_EQ(p.y, reborn[i].y) << i;
        EXPECT_FLOAT_EQ(p.z, reborn[i].z) << i;
        stepParticle(i, spinSin, spinCos);
        EXPECT_FLOAT_EQ(p.x, moved[i].x) << i;
        EXPECT_FLOAT_EQ(p.y, moved[i].y) << i;
        EXPECT_FLOAT_EQ(p.z, moved[i].z) << i;
    }
}

std::vector<std::string> handedOn;

void noteFound(int32_t count, CountFoundBy by)
{
    handedOn.push_back(std::to_string(count) + (by == CountFoundBy::partCalibration ? " part"
                                                : by == CountFoundBy::calibration   ? " calibration"
                                                                                    : " check"));
}

// A start that knows its count: one frame ends calibration at it, unscaled,
// and hands nothing on; a calibration after it scales again, and hands its
// count on a quarter of the way and at its end.
TEST_F(SimTest, AKnownCountEndsCalibrationInOneFrameUnscaled)
{
    initSimulation(1);
    handedOn.clear();
    countFound = noteFound;
    runStats.frameSeconds = 1.0f;  // would shrink any count the rule scales
    startCalibration();
    calibrateTo(500);
    ASSERT_EQ(calibrationFrames, 1);
    calibrationStep();
    EXPECT_EQ(particleCount, 500);
    EXPECT_EQ(fakePlatform.effects.back(), "announce 500 particles in 0 x 0");
    calibrationFrames = 8;
    startCalibration();
    for (int frame = 0; frame < 8; ++frame)
        calibrationStep();
    EXPECT_EQ(particleCount, 2);
    EXPECT_EQ(handedOn, std::vector<std::string>({"5 part", "2 calibration"}));
    countFound = nullptr;
}

struct CheckCase {
    std::vector<float> frameSeconds;  // of the shown frames measured
    int32_t count;                    // then
    bool handedOn;
};

class CountCheck : public SimTest, public ::testing::WithParamInterface<CheckCase> {};

// A count given from an earlier run stands unless the median of its checked
// frames takes four times the frame time aimed at; then it is given up for
// one that fits, checked again, and what it came to is handed on once.
TEST_P(CountCheck, GivesUpAFarTooSlowCountAndRefinesIt)
{
    handedOn.clear();
    countFound = noteFound;
    startCalibration();
    calibrateTo(500);
    checkCountOnShownFrames();
    EXPECT_FALSE(checkingCount());  // not before calibration's one frame
    calibrationFrames = 0;
    for (const float seconds : GetParam().frameSeconds) {
        ASSERT_TRUE(checkingCount());
        noteCheckedFrame(seconds);
    }
    EXPECT_FALSE(checkingCount());
    EXPECT_EQ(particleCount, GetParam().count);
    EXPECT_EQ(handedOn, GetParam().handedOn ? std::vector<std::string>{std::to_string(GetParam().count) + " check"}
                                            : std::vector<std::string>{});
    countFound = nullptr;
}

INSTANTIATE_TEST_SUITE_P(
    Frames, CountCheck,
    ::testing::Values(CheckCase{{0.039f, 0.039f, 0.039f, 0.039f, 0.039f}, 500, false},  // just under four times
                      CheckCase{{0.2f, 0.2f, 0.01f, 0.01f, 0.01f}, 500, false},  // two slow frames decide nothing
                      CheckCase{{0.05f, 0.05f, 0.2f, 0.001f, 0.001f, 0.01f, 0.01f, 0.01f, 0.01f, 0.01f}, 99, true},
                      CheckCase{{0.1f, 0.1f, 0.1f, 0.1f, 0.1f, 0.05f, 0.05f, 0.05f, 0.05f, 0.05f, 0.01f, 0.01f, 0.01f,
                                 0.01f, 0.01f},
                                9, true}));
