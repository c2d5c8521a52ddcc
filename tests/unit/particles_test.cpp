// Known values not given with the rules were worked out once with a separate
// model of the rules in Python (float32 rounding by struct.pack('f')), never
// with the code under test. Where the precision of intermediate arithmetic
// may move a value by a unit in the last place, it is compared to within four
// (EXPECT_FLOAT_EQ).
#include <limits>

#include "sim_fixture.h"

namespace {

void placeParticle(int32_t i, float x, float y, float z)
{
    particleBuffer[i].position = Vector3{x, y, z};
}

}  // namespace

using Particles = SimTest;

TEST_F(Particles, AttractorAtTheOriginProjectsToTheCentre)
{
    const Projection p = projectPoint(0.0f, 0.0f, 0.0f, 0.0f, 1.0f);
    EXPECT_EQ(p.x, 0.0f);
    EXPECT_EQ(p.y, 0.0f);
    EXPECT_NEAR(p.depthFactor, 0.60004f, 1e-6);
    EXPECT_NEAR(attractorBrightness(p.depthFactor), 0.54007f, 1e-5);
}

TEST_F(Particles, ParticleAtTheOriginHasBrightnessOfTheCubedDepthFactor)
{
    calibrationFrames = 1;  // keeps it where it is
    attractor.position = Vector3{0.5f, 0.0f, 0.0f};
    ASSERT_TRUE(stepParticle(0, 0.0f, 1.0f));
    EXPECT_NEAR(particleBuffer[0].brightness, 0.32406f, 1e-5);
}

TEST_F(Particles, BrightnessNeverExceedsOne)
{
    calibrationFrames = 1;
    placeParticle(0, 0.0f, 0.0f, -0.5f);  // depthFactor near 0.93: 1.5 x f^3 > 1
    ASSERT_TRUE(stepParticle(0, 0.0f, 1.0f));
    EXPECT_EQ(particleBuffer[0].brightness, 1.0f);
    EXPECT_EQ(attractorBrightness(0.95f), 1.0f);
}

struct TurnCase {
    float spinDegrees;  // before a frame head with a step of 1 s
    float aspectX, aspectY;
    float turnedDegrees, spinSin, spinCos;
    Projection point;  // of (0.3, -0.2, 0.1)
};

class ViewTurn : public SimTest, public ::testing::WithParamInterface<TurnCase> {};

TEST_P(ViewTurn, TurnsTenDegreesASecondAndProjectsThroughTheTurn)
{
    const TurnCase c = GetParam();
    spinDegrees = c.spinDegrees;
    aspectX = c.aspectX;
    aspectY = c.aspectY;
    runStats.stepSeconds = 1.0f;
    beginFrameStep();
    EXPECT_EQ(spinDegrees, c.turnedDegrees);
    EXPECT_FLOAT_EQ(spinSin, c.spinSin);
    EXPECT_FLOAT_EQ(spinCos, c.spinCos);

    const Projection p = projectPoint(0.3f, -0.2f, 0.1f, spinSin, spinCos);
    EXPECT_FLOAT_EQ(p.x, c.point.x);
    EXPECT_FLOAT_EQ(p.y, c.point.y);
    EXPECT_FLOAT_EQ(p.depthFactor, c.point.depthFactor);
}

// The degree is 0.01745328 rad, a hair short of pi / 180: at 90 degrees the
// cosine is 1.1267949e-06, not 6e-17; at 200 the sine is -0.3420178, not
// -0.34202015.
INSTANTIATE_TEST_SUITE_P(
    Angles, ViewTurn,
    ::testing::Values(TurnCase{80.0f, 0.75f, 1.0f, 90.0f, 1.0f, 1.1267949e-06f,
                               {-0.12499956f, -0.33333328f, 0.4000599f}},
                      TurnCase{190.0f, 1.0f, 0.6f, 200.0f, -0.3420178f, -0.93969345f,
                               {-0.92101157f, -0.44617924f, 0.73107666f}},
                      TurnCase{355.0f, 0.75f, 1.0f, 5.0f, 0.08715568f, 0.9961947f,  // a whole turn taken off
                               {0.44974637f, -0.41335627f, 0.51620424f}}));

struct VisibilityCase {
    float z;  // of a particle at (0.05, -0.04, z), seen at spin 0
    bool visible;
    float depthFactor;
    float screenX = 0.0f, screenY = 0.0f, brightness = 0.0f;  // when visible
};

class ParticleVisibility : public SimTest, public ::testing::WithParamInterface<VisibilityCase> {};

TEST_P(ParticleVisibility, DependsOnTheDepthFactorRange)
{
    const VisibilityCase c = GetParam();
    calibrationFrames = 1;  // keeps it where it is
    attractor.position = Vector3{0.5f, 0.5f, 0.5f};
    placeParticle(0, 0.05f, -0.04f, c.z);
    particleBuffer[0].screenX = 7.0f;
    particleBuffer[0].screenY = 8.0f;
    particleBuffer[0].brightness = 0.25f;

    EXPECT_FLOAT_EQ(projectPoint(0.05f, -0.04f, c.z, 0.0f, 1.0f).depthFactor, c.depthFactor);
    EXPECT_EQ(stepParticle(0, 0.0f, 1.0f), c.visible);
    if (c.visible) {
        EXPECT_FLOAT_EQ(particleBuffer[0].screenX, c.screenX);
        EXPECT_FLOAT_EQ(particleBuffer[0].screenY, c.screenY);
        EXPECT_FLOAT_EQ(particleBuffer[0].brightness, c.brightness);
    } else {  // keeps the place and brightness it was last seen with
        EXPECT_EQ(particleBuffer[0].screenX, 7.0f);
        EXPECT_EQ(particleBuffer[0].screenY, 8.0f);
        EXPECT_EQ(particleBuffer[0].brightness, 0.25f);
    }
}

constexpr float infinity = std::numeric_limits<float>::infinity();

// At z = 0.90015006 the step's float arithmetic makes 0.6666 x (z + 0.6)
// exactly 1; the next float up lies just beyond the visible depth.
INSTANTIATE_TEST_SUITE_P(
    Depths, ParticleVisibility,
    ::testing::Values(VisibilityCase{0.9f, true, 0.000100016594f, 0.05f, -0.04f, 1.5007469e-12f},
                      VisibilityCase{0.90015006f, true, 0.0f, 0.049995f, -0.039996f, 0.0f},
                      VisibilityCase{0.9001501f, false, -1.1920929e-07f},
                      VisibilityCase{0.91f, false, -0.0065659285f},
                      VisibilityCase{-0.61f, false, 1.006666f},
                      VisibilityCase{-0.6f, true, 1.0f, infinity, -infinity, 1.0f}));  // at the eye

struct ClampCase {
    float in, out;
};

class ParticleClamp : public SimTest, public ::testing::WithParamInterface<ClampCase> {};

TEST_P(ParticleClamp, BringsEveryCoordinateIntoTheBoxWithoutTouchingVelocity)
{
    const ClampCase c = GetParam();
    calibrationFrames = 1;
    placeParticle(0, c.in, c.in, c.in);
    particleBuffer[0].velocity = Vector3{0.3f, -0.2f, 0.1f};
    stepParticle(0, 0.0f, 1.0f);
    EXPECT_EQ(particleBuffer[0].position.x, c.out);
    EXPECT_EQ(particleBuffer[0].position.y, c.out);
    EXPECT_EQ(particleBuffer[0].position.z, c.out);
    EXPECT_EQ(particleBuffer[0].velocity.x, 0.3f);
    EXPECT_EQ(particleBuffer[0].velocity.y, -0.2f);
    EXPECT_EQ(particleBuffer[0].velocity.z, 0.1f);
}

INSTANTIATE_TEST_SUITE_P(Coordinates, ParticleClamp,
                         ::testing::Values(ClampCase{1.3f, 1.0f}, ClampCase{-7.0f, -1.0f}, ClampCase{0.5f, 0.5f},
                                           ClampCase{1.0f, 1.0f}, ClampCase{-1.0f, -1.0f},
                                           ClampCase{std::numeric_limits<float>::quiet_NaN(), -1.0f},
                                           ClampCase{std::numeric_limits<float>::infinity(), 1.0f}));

TEST_F(Particles, StepPullsWithTheDampedVelocityRule)
{
    attractor.position = Vector3{0.3f, -0.1f, 0.2f};
    placeParticle(0, 0.1f, 0.1f, -0.1f);
    particleBuffer[0].velocity = Vector3{0.02f, -0.01f, 0.005f};
    runStats.stepSeconds = 0.02f;

    stepParticle(0, 0.0f, 1.0f);

    // offset (0.2, -0.2, 0.3), k = 0.01 / 0.17 x 0.02; v = pull + 0.982 (pull - v)
    const Particle& p = particleBuffer[0];
    EXPECT_FLOAT_EQ(p.velocity.x, -0.019173646f);
    EXPECT_FLOAT_EQ(p.velocity.y, 0.009353647f);
    EXPECT_FLOAT_EQ(p.velocity.z, -0.0042104707f);
    EXPECT_FLOAT_EQ(p.position.x, 0.08082636f);
    EXPECT_FLOAT_EQ(p.position.y, 0.10935365f);
    EXPECT_FLOAT_EQ(p.position.z, -0.10421047f);
}

TEST_F(Particles, ParticleOnTheAttractorEndsInsideTheBox)
{
    // 0.01 / 0 has no defined pull; whatever it yields, the clamp keeps the box.
    runStats.stepSeconds = 0.01f;
    stepParticle(0, 0.0f, 1.0f);
    for (float c : {particleBuffer[0].position.x, particleBuffer[0].position.y, particleBuffer[0].position.z}) {
        EXPECT_GE(c, -1.0f);
        EXPECT_LE(c, 1.0f);
    }
}

TEST_F(Particles, SeedOneStartsTheRecordsAtTheirKnownPlaces)
{
    attractor = Attractor{{0.1f, 0.1f, 0.1f}, {0.01f, 0.01f, 0.01f}};
    particleBuffer[poolSize - 1].velocity = Vector3{0.5f, 0.5f, 0.5f};
    initSimulation(1);

    const struct {
        int32_t record;
        Vector3 position;
    } known[] = {{0, {-0.10257f, -0.10587f, 0.14814f}},
                 {1, {0.04554f, 0.08865f, -0.12723f}},
                 {2, {0.09864f, 0.11547f, -0.01707f}},
                 {poolSize - 1, {-0.09087f, -0.07707f, -0.01377f}}};
    for (const auto& k : known) {
        const Particle& p = particleBuffer[k.record];
        EXPECT_EQ(p.position.x, k.position.x) << k.record;
        EXPECT_EQ(p.position.y, k.position.y) << k.record;
        EXPECT_EQ(p.position.z, k.position.z) << k.record;
        EXPECT_EQ(p.velocity.x, 0.0f) << k.record;
        EXPECT_EQ(p.velocity.y, 0.0f) << k.record;
        EXPECT_EQ(p.velocity.z, 0.0f) << k.record;
    }
    EXPECT_EQ(randomState, 0xAAA7C811u);  // 3 x 32768 draws, rejections included
    for (float c : {attractor.position.x, attractor.position.y, attractor.position.z, attractor.velocity.x,
                    attractor.velocity.y, attractor.velocity.z})
        EXPECT_EQ(c, 0.0f);
}

TEST_F(Particles, SeedZeroStartsEveryRecordAtTheCorner)
{
    initSimulation(0);
    for (int32_t i = 0; i < poolSize; ++i) {
        const Particle& p = particleBuffer[i];
        ASSERT_EQ(p.position.x, 0.15f);
        ASSERT_EQ(p.position.y, 0.15f);
        ASSERT_EQ(p.position.z, 0.15f);
        ASSERT_EQ(p.velocity.x, 0.0f);
    }
}

TEST_F(Particles, StartSpreadStaysInsideItsCube)
{
    initSimulation(20261208);
    for (int32_t i = 0; i < poolSize; ++i)
        for (float c : {particleBuffer[i].position.x, particleBuffer[i].position.y, particleBuffer[i].position.z}) {
            ASSERT_GE(c, -0.14998f);
            ASSERT_LE(c, 0.15f);
        }
}

TEST_F(Particles, NothingMovesDuringCalibrationWhateverTheStep)
{
    initSimulation(1);
    calibrationFrames = 100;
    runStats.frameSeconds = 0.01f;
    particleCount = poolSize;
    for (float step : {0.0f, 0.01f, 0.5f, 3.0f}) {
        const Vector3 before = particleBuffer[17].position;
        runStats.stepSeconds = step;
        beginFrameStep();
        for (int32_t i = 0; i < particleCount; ++i)
            stepParticle(i, spinSin, spinCos);
        EXPECT_EQ(particleBuffer[17].position.x, before.x);
        EXPECT_EQ(particleBuffer[17].position.y, before.y);
        EXPECT_EQ(particleBuffer[17].position.z, before.z);
    }
}

TEST_F(Particles, FirstWanderFromSeedOneMovesTheAttractorByTheKnownDraws)
{
    seedRandom(1);  // the first draws from 0 to 1000 are 526, 533 and 3
    runStats.stepSeconds = 0.5f;
    beginFrameStep();
    // (500 - r) x 0.00002 for x, y, z in that order; then half a second of it
    EXPECT_FLOAT_EQ(attractor.velocity.x, -0.00052f);
    EXPECT_FLOAT_EQ(attractor.velocity.y, -0.00066f);
    EXPECT_FLOAT_EQ(attractor.velocity.z, 0.00994f);
    EXPECT_FLOAT_EQ(attractor.position.x, -0.00026f);
    EXPECT_FLOAT_EQ(attractor.position.y, -0.00033f);
    EXPECT_FLOAT_EQ(attractor.position.z, 0.00497f);
}

TEST_F(Particles, HoldingHFreezesTheSwarmButNotTheViewOrTheWander)
{
    initSimulation(1);
    keyDown[holdKey] = 1;
    runStats.stepSeconds = 0.02f;
    for (int frame = 0; frame < 5; ++frame) {
        const Vector3 particle = particleBuffer[3].position;
        const float spin = spinDegrees;

        beginFrameStep();
        for (int32_t i = 0; i < particleCount; ++i)
            stepParticle(i, spinSin, spinCos);

        EXPECT_EQ(particleBuffer[3].position.x, particle.x);
        EXPECT_EQ(particleBuffer[3].position.y, particle.y);
        EXPECT_EQ(particleBuffer[3].position.z, particle.z);
        EXPECT_EQ(attractor.position.x, 0.0f);  // inside its box: no bounce either
        EXPECT_EQ(attractor.position.y, 0.0f);
        EXPECT_EQ(attractor.position.z, 0.0f);
        EXPECT_FLOAT_EQ(spinDegrees, spin + 0.2f);
    }
    // Five frames of wander, drawn after the start state's draws.
    EXPECT_FLOAT_EQ(attractor.velocity.x, -0.0097f);
    EXPECT_FLOAT_EQ(attractor.velocity.y, -0.0022f);
    EXPECT_FLOAT_EQ(attractor.velocity.z, -0.0018199997f);
}

TEST_F(Particles, AttractorBouncesOffItsBox)
{
    // Seed 0 makes every wander draw 0, adding 0.01 per axis; H keeps the move out.
    seedRandom(0);
    keyDown[holdKey] = 1;
    runStats.stepSeconds = 0.5f;
    attractor.position = Vector3{0.25f, 0.0f, -0.3f};
    attractor.velocity = Vector3{0.04f, 0.0f, 0.0f};

    beginFrameStep();

    // x: 0.04 + 0.01 is reflected and steps back by half of it; y is inside
    // and stays; z is beyond the other side and steps back the other way.
    EXPECT_FLOAT_EQ(attractor.velocity.x, -0.05f);
    EXPECT_FLOAT_EQ(attractor.position.x, 0.225f);
    EXPECT_FLOAT_EQ(attractor.velocity.y, 0.01f);
    EXPECT_EQ(attractor.position.y, 0.0f);
    EXPECT_FLOAT_EQ(attractor.velocity.z, -0.01f);
    EXPECT_FLOAT_EQ(attractor.position.z, -0.305f);
}

TEST_F(Particles, AttractorSpeedIsLimitedPerAxis)
{
    seedRandom(0);  // +0.01 per frame and axis
    attractor.velocity = Vector3{0.075f, -0.1f, 0.0f};
    beginFrameStep();
    EXPECT_EQ(attractor.velocity.x, 0.08f);
    EXPECT_EQ(attractor.velocity.y, -0.08f);
    EXPECT_EQ(attractor.velocity.z, static_cast<float>(0.01));
}

TEST(WindowAspect, LongerSideGetsTheShorterOverLongerFactor)
{
    struct Case {
        uint32_t width, height;
        float x, y;
    };
    const Case cases[] = {
        {800, 0, 1.0f / 800.0f, 1.0f}, {600, 800, 1.0f, 0.75f}, {500, 500, 1.0f, 1.0f}, {2048, 1024, 0.5f, 1.0f},
        {1024, 768, 0.75f, 1.0f},
    };
    for (const Case& c : cases) {
        setAspectForClientSize(c.width, c.height);
        EXPECT_FLOAT_EQ(aspectX, c.x) << c.width << "x" << c.height;
        EXPECT_FLOAT_EQ(aspectY, c.y) << c.width << "x" << c.height;
    }
}
