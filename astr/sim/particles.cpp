#include "particles.h"

#include <cmath>
#include <cstdlib>

#include "../shell/fatal_error.h"
#include "../shell/frame_clock.h"
#include "../shell/window_state.h"
#include "calibration.h"
#include "random.h"

Particle* particleBuffer = nullptr;
int32_t particleCount = poolSize;
int32_t calibrationFrames = defaultCalibrationFrames;
Attractor attractor;
float spinDegrees = 0.0f;
float spinSin = 0.0f;
float spinCos = 1.0f;

namespace {

constexpr double spinDegreesPerSecond = 10.0;
constexpr double radiansPerDegree = 0.01745328;  // a hair short of pi / 180, as ever
constexpr double wanderScale = 0.00002;
constexpr double attractorSpeedLimit = 0.08;
constexpr double attractorBox = 0.2;
constexpr double pullStrength = 0.01;
constexpr double velocityFactor = 0.982;
constexpr double perspective = 1.5;
constexpr double depthFade = 0.6666;
constexpr double brightnessGain = 1.5;
constexpr double startSpread = 0.00003;

float startCoordinate()
{
    const int32_t r = static_cast<int32_t>(randomRange(0, 9999));
    return static_cast<float>((5000 - r) * startSpread);
}

float clampedBrightness(double value)
{
    const float brightness = static_cast<float>(value);
    return brightness > 1.0f ? 1.0f : brightness;
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
    const double depth = double{x} * spinSin + double{z} * spinCos;  // larger is farther
    const double d = depth + cameraDistance;
    const float scale = static_cast<float>(perspective / d);
    Projection projection;
    projection.x = static_cast<float>(aspectX * (double{x} * spinCos - double{z} * spinSin) * scale);
    projection.y = static_cast<float>(aspectY * double{y} * scale);
    projection.depthFactor = static_cast<float>(1.0 - depthFade * d);
    return projection;
}

float attractorBrightness(float depthFactor)
{
    return clampedBrightness(brightnessGain * depthFactor * depthFactor);
}

bool stepParticle(int32_t i, float spinSin, float spinCos)
{
    Particle& p = particleBuffer[i];
    const double offsetX = double{attractor.position.x} - p.position.x;
    const double offsetY = double{attractor.position.y} - p.position.y;
    const double offsetZ = double{attractor.position.z} - p.position.z;
    const double distance2 = offsetX * offsetX + offsetY * offsetY + offsetZ * offsetZ;
    const float k = static_cast<float>(pullStrength / distance2 * runStats.stepSeconds);

    if (moving()) {
        // Not old velocity plus pull: the pull plus a share of (pull - old velocity).
        const double pullX = offsetX * k, pullY = offsetY * k, pullZ = offsetZ * k;
        p.velocity.x = static_cast<float>(pullX + velocityFactor * (pullX - p.velocity.x));
        p.velocity.y = static_cast<float>(pullY + velocityFactor * (pullY - p.velocity.y));
        p.velocity.z = static_cast<float>(pullZ + velocityFactor * (pullZ - p.velocity.z));
        p.position.x = static_cast<float>(double{p.position.x} + p.velocity.x);
        p.position.y = static_cast<float>(double{p.position.y} + p.velocity.y);
        p.position.z = static_cast<float>(double{p.position.z} + p.velocity.z);
    }
    clampToBox(p.position);

    const Projection projection = projectPoint(p.position.x, p.position.y, p.position.z, spinSin, spinCos);
    if (projection.depthFactor < 0.0f || projection.depthFactor > 1.0f)
        return false;
    const double f = projection.depthFactor;
    p.brightness = clampedBrightness(brightnessGain * f * f * f);
    p.screenX = projection.x;
    p.screenY = projection.y;
    return true;
}
