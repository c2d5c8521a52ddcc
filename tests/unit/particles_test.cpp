#include <cmath>
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

TEST_F(Particles, ProjectionScalesByTheAspectFactors)
{
    aspectX = 0.5f;
    const Projection p = projectPoint(0.2f, 0.3f, 0.0f, 0.0f, 1.0f);
    EXPECT_NEAR(p.x, 0.5 * 0.2 * 1.5 / 0.6, 1e-6);
    EXPECT_NEAR(p.y, 0.3 * 1.5 / 0.6, 1e-6);
}

struct VisibilityCase {
    float z;
    bool visible;
    float depthFactor;
};

class ParticleVisibility : public SimTest, public ::testing::WithParamInterface<VisibilityCase> {};

TEST_P(ParticleVisibility, DependsOnTheDepthFactorRange)
{
    const VisibilityCase c = GetParam();
    calibrationFrames = 1;
    attractor.position = Vector3{0.5f, 0.5f, 0.5f};
    placeParticle(0, 0.0f, 0.0f, c.z);
    particleBuffer[0].screenX = 7.0f;
    particleBuffer[0].screenY = 8.0f;
    particleBuffer[0].brightness = 0.25f;

    EXPECT_NEAR(projectPoint(0.0f, 0.0f, c.z, 0.0f, 1.0f).depthFactor, c.depthFactor, 1e-4);
    EXPECT_EQ(stepParticle(0, 0.0f, 1.0f), c.visible);
    if (!c.visible) {  // keeps the place and brightness it was last seen with
        EXPECT_EQ(particleBuffer[0].screenX, 7.0f);
        EXPECT_EQ(particleBuffer[0].screenY, 8.0f);
        EXPECT_EQ(particleBuffer[0].brightness, 0.25f);
    } else {
        EXPECT_NE(particleBuffer[0].brightness, 0.25f);
    }
}

INSTANTIATE_TEST_SUITE_P(Depths, ParticleVisibility,
                         ::testing::Values(VisibilityCase{0.9f, true, 0.0001f},
                                           VisibilityCase{0.91f, false, -0.0066f},
                                           VisibilityCase{-0.61f, false, 1.0067f},
                                           VisibilityCase{-0.6f, true, 1.0f}));  // exactly 1: still visible

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
    attractor.position = Vector3{0.5f, 0.0f, 0.0f};
    particleBuffer[0].velocity = Vector3{0.1f, 0.0f, 0.0f};
    runStats.stepSeconds = 0.01f;

    stepParticle(0, 0.0f, 1.0f);

    // pull = 0.5 x (0.01 / 0.25 x 0.01) = 0.0002; v = pull + 0.982 (pull - 0.1)
    EXPECT_FLOAT_EQ(particleBuffer[0].velocity.x, -0.0978036f);
    EXPECT_EQ(particleBuffer[0].position.x, particleBuffer[0].velocity.x);
    EXPECT_EQ(particleBuffer[0].velocity.y, 0.0f);
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

TEST_F(Particles, SeedOneStartsRecordZeroAtItsKnownPlace)
{
    initSimulation(1);
    EXPECT_NEAR(particleBuffer[0].position.x, -0.10257f, 1e-5);
    EXPECT_NEAR(particleBuffer[0].position.y, -0.10587f, 1e-5);
    EXPECT_NEAR(particleBuffer[0].position.z, 0.14814f, 1e-5);
    EXPECT_EQ(attractor.position.x, 0.0f);
    EXPECT_EQ(attractor.velocity.z, 0.0f);
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

TEST_F(Particles, HoldingHFreezesTheSwarmButNotTheViewOrTheWander)
{
    initSimulation(1);
    keyDown[holdKey] = 1;
    runStats.stepSeconds = 0.02f;
    for (int frame = 0; frame < 5; ++frame) {
        const Vector3 particle = particleBuffer[3].position;
        const Vector3 attractorPlace = attractor.position;
        const Vector3 attractorVelocity = attractor.velocity;
        const float spin = spinDegrees;

        beginFrameStep();
        for (int32_t i = 0; i < particleCount; ++i)
            stepParticle(i, spinSin, spinCos);

        EXPECT_EQ(particleBuffer[3].position.x, particle.x);
        EXPECT_EQ(particleBuffer[3].position.z, particle.z);
        EXPECT_EQ(attractor.position.x, attractorPlace.x);  // inside its box: no bounce either
        EXPECT_FLOAT_EQ(spinDegrees, spin + 0.2f);
        EXPECT_TRUE(attractor.velocity.x != attractorVelocity.x || attractor.velocity.y != attractorVelocity.y ||
                    attractor.velocity.z != attractorVelocity.z);
    }
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

    const float wandered = static_cast<float>(double{0.04f} + 500 * 0.00002);
    EXPECT_NEAR(wandered, 0.05f, 1e-7);
    EXPECT_EQ(attractor.velocity.x, -wandered);
    EXPECT_EQ(attractor.position.x, static_cast<float>(0.25 - 0.5 * double{wandered}));
    EXPECT_EQ(attractor.position.y, 0.0f);  // inside: no reflection
    EXPECT_EQ(attractor.velocity.z, static_cast<float>(-0.01));
    EXPECT_EQ(attractor.position.z, static_cast<float>(double{-0.3f} + 0.5 * double{static_cast<float>(-0.01)}));
}

TEST_F(Particles, AttractorSpeedIsLimitedPerAxis)
{
    seedRandom(0);  // +0.01 per frame and axis
    attractor.velocity = Vector3{0.075f, -0.2f, 0.0f};
    beginFrameStep();
    EXPECT_EQ(attractor.velocity.x, 0.08f);
    EXPECT_EQ(attractor.velocity.y, -0.08f);
    EXPECT_EQ(attractor.velocity.z, static_cast<float>(0.01));
}

TEST_F(Particles, ViewTurnsTenDegreesASecondAndWrapsAtOneTurn)
{
    spinDegrees = 355.0f;
    runStats.stepSeconds = 1.0f;
    beginFrameStep();
    EXPECT_FLOAT_EQ(spinDegrees, 5.0f);
    EXPECT_FLOAT_EQ(spinSin, static_cast<float>(std::sin(5.0 * 0.01745328)));
    EXPECT_FLOAT_EQ(spinCos, static_cast<float>(std::cos(5.0 * 0.01745328)));
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
