#include "particles.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "calibration.h"
#include "fatal_error.h"
#include "frame_clock.h"
#include "random.h"
#include "window_state.h"

static_assert(sizeof(Particle) == 36, "the pool is 32768 records of nine floats, 1179648 bytes");

Particle* particleBuffer = nullptr;
int32_t particleCount = poolSize;
int32_t calibrationFrames = defaultCalibrationFrames;
Attractor attractor;
float spinDegrees = 0.0f;
float spinSin = 0.0f;
float spinCos = 1.0f;

namespace {

// Once-a-frame and once-a-run arithmetic: double intermediates, rounded to
// float where a value is stored.
constexpr double spinDegreesPerSecond = 10.0;
constexpr double radiansPerDegree = 0.01745328;  // a hair short of pi / 180
constexpr double wanderScale = 0.00002;
constexpr double attractorSpeedLimit = 0.08;
constexpr double attractorBox = 0.2;
constexpr double startSpread = 0.00003;

// The per-particle work below runs 32768 times a frame and computes in float:
// with double intermediates its float/double conversions alone cost more
// than half again as much. SSE2 float arithmetic without contraction gives
// the same bits on every build all the same.
constexpr float pullStrength = 0.01f;
constexpr float velocityFactor = 0.982f;
constexpr float perspective = 1.5f;
constexpr float depthFade = 0.6666f;
constexpr float brightnessGain = 1.5f;

float startCoordinate()
{
    const int32_t r = static_cast<int32_t>(randomRange(0, 9999));
    return static_cast<float>((5000 - r) * startSpread);
}

bool moving()
{
    return calibrationFrames == 0 && keyDown[holdKey] == 0;
}

void wanderAttractor()
{
    float* velocity[] = {&attractor.velocity.x, &attractor.velocity.y, &attractor.velocity.z};
    for (float* v : velocity) {
        const int32_t r = static_cast<int32_t>(randomRange(0, 1000));
        *v = static_cast<float>(*v + (500 - r) * wanderScale);
    }
    for (float* v : velocity)
        if (*v > attractorSpeedLimit)
            *v = static_cast<float>(attractorSpeedLimit);
    for (float* v : velocity)
        if (*v < -attractorSpeedLimit)
            *v = static_cast<float>(-attractorSpeedLimit);
}

void moveAttractor(double step)
{
    attractor.position.x = static_cast<float>(attractor.position.x + step * attractor.velocity.x);
    attractor.position.y = static_cast<float>(attractor.position.y + step * attractor.velocity.y);
    attractor.position.z = static_cast<float>(attractor.position.z + step * attractor.velocity.z);
}

// One reflection per frame: a coordinate still outside is reflected again next frame.
void bounce(float& position, float& velocity, double step)
{
    if (position > attractorBox || position < -attractorBox) {
        velocity = -velocity;
        position = static_cast<float>(position + step * velocity);
    }
}

void clampToBox(Vector3& p)
{
    float* coordinates[] = {&p.x, &p.y, &p.z};
    for (float* c : coordinates)
        if (!(*c >= -1.0f))  // NaN lands here too
            *c = -1.0f;
    for (float* c : coordinates)
        if (*c > 1.0f)
            *c = 1.0f;
}

}  // namespace

void createParticleBuffer()
{
    particleBuffer = static_cast<Particle*>(std::malloc(poolSize * sizeof(Particle)));
    if (!particleBuffer)
        FatalError("Insufficient memory.");
}

void initSimulation(uint32_t seed)
{
    seedRandom(seed);
    attractor = Attractor{};
    for (int32_t i = 0; i < poolSize; ++i) {
        Particle& p = particleBuffer[i];
        p.position.x = startCoordinate();
        p.position.y = startCoordinate();
        p.position.z = startCoordinate();
        p.velocity = Vector3{};
        // Never shown: the first calibration frame draws each record here once.
        p.screenX = 0.0f;
        p.screenY = 0.0f;
        p.brightness = 0.0f;
    }
}

void beginFrameStep()
{
    spinDegrees = static_cast<float>(spinDegrees + spinDegreesPerSecond * runStats.stepSeconds);

    if (calibrationFrames != 0)
        calibrationStep();

    // Only sine and cosine are used, so whole turns can go; fmod is exact.
    spinDegrees = static_cast<float>(std::fmod(double{spinDegrees}, 360.0));
    if (spinDegrees < 0.0f)
        spinDegrees += 360.0f;
    const double radians = spinDegrees * radiansPerDegree;
    spinSin = static_cast<float>(std::sin(radians));
    spinCos = static_cast<float>(std::cos(radians));

    wanderAttractor();
    const double step = runStats.stepSeconds;
    if (keyDown[holdKey] == 0)
        moveAttractor(step);
    bounce(attractor.position.x, attractor.velocity.x, step);
    bounce(attractor.position.y, attractor.velocity.y, step);
    bounce(attractor.position.z, attractor.velocity.z, step);
}

Projection projectPoint(float x, float y, float z, float spinSin, float spinCos)
{
    const float d = x * spinSin + z * spinCos + cameraDistance;  // depth along the view axis, from the eye
    const float scale = perspective / d;
    Projection projection;
    projection.x = aspectX * (x * spinCos - z * spinSin) * scale;
    projection.y = aspectY * y * scale;
    projection.depthFactor = 1.0f - depthFade * d;
    return projection;
}

float attractorBrightness(float depthFactor)
{
    return std::min(brightnessGain * depthFactor * depthFactor, 1.0f);
}

bool stepParticle(int32_t i, float spinSin, float spinCos)
{
    Particle& p = particleBuffer[i];
    const float offsetX = attractor.position.x - p.position.x;
    const float offsetY = attractor.position.y - p.position.y;
    const float offsetZ = attractor.position.z - p.position.z;
    const float distance2 = offsetX * offsetX + offsetY * offsetY + offsetZ * offsetZ;
    const float k = pullStrength / distance2 * runStats.stepSeconds;

    if (moving()) {
        // Not old velocity plus pull: the pull plus a share of (pull - old velocity).
        const float pullX = offsetX * k, pullY = offsetY * k, pullZ = offsetZ * k;
        p.velocity.x = pullX + velocityFactor * (pullX - p.velocity.x);
        p.velocity.y = pullY + velocityFactor * (pullY - p.velocity.y);
        p.velocity.z = pullZ + velocityFactor * (pullZ - p.velocity.z);
        p.position.x += p.velocity.x;
        p.position.y += p.velocity.y;
        p.position.z += p.velocity.z;
    }
    clampToBox(p.position);

    const Projection projection = projectPoint(p.position.x, p.position.y, p.position.z, spinSin, spinCos);
    const float f = projection.depthFactor;
    if (f < 0.0f || f > 1.0f)
        return false;
    p.brightness = std::min(brightnessGain * f * f * f, 1.0f);
    p.screenX = projection.x;
    p.screenY = projection.y;
    return true;
}
