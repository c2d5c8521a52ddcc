#include "calibration.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "fatal_error.h"
#include "frame_clock.h"
#include "particles.h"
#include "platform.h"
#include "random.h"
#include "run_mode.h"
#include "settings.h"

namespace {

constexpr double rebirthRadiusSquared = 0.00002;
constexpr double rebirthAngleScale = 0.00001;
constexpr uint32_t rebirthAngleSteps = 628308;  // angles from 0 to a little under 2 pi

bool countKnown;  // calibrateTo: the calibration's one frame keeps the count

float rebirthAngle()
{
    return static_cast<float>(randomRange(0, rebirthAngleSteps) * rebirthAngleScale);
}

// The swarm starts again as a tiny sphere around the origin, at rest.
void rebirthSwarm()
{
    const float radius = static_cast<float>(std::sqrt(rebirthRadiusSquared));
    for (int32_t i = 0; i < particleCount; ++i) {
        randomRange(0, 2000);  // drawn and thrown away, as it always was
        const float a = rebirthAngle();
        const float b = rebirthAngle();
        const float sinA = static_cast<float>(std::sin(double{a}));
        const float cosA = static_cast<float>(std::cos(double{a}));
        const float sinB = static_cast<float>(std::sin(double{b}));
        const float cosB = static_cast<float>(std::cos(double{b}));
        Particle& p = particleBuffer[i];
        p.position.x = static_cast<float>(double{radius} * sinB);
        p.position.y = static_cast<float>(double{radius} * sinA * cosB);
        p.position.z = static_cast<float>(double{radius} * cosA * cosB);
        p.velocity = Vector3{};
    }
}

void announceCalibration()
{
    char text[64];
    std::snprintf(text, sizeof text, "%d particles in %d x %d", static_cast<int>(particleCount),
                  static_cast<int>(runStats.windowWidth), static_cast<int>(runStats.windowHeight));
    announceParticleCount(text);
}

void endCalibration()
{
    countKnown = false;
    attractor = Attractor{};

    void* resized = std::realloc(particleBuffer, static_cast<size_t>(particleCount) * sizeof(Particle));
    if (!resized)
        FatalError("Bad, bad Windows!\r\n"
                   "Memorymanagment error. Resizing failed. You should go to search your windows-cd...");
    particleBuffer = static_cast<Particle*>(resized);

    rebirthSwarm();
    runStats.stepSeconds = runStats.fixedStepSeconds;  // the rest of this frame
    // The swarm has its size: the run goes on at normal priority, with its
    // music, timed afresh.
    setNormalPriority();
    if (playsBackgroundSound(runMode, settings))
        playBackgroundSound();
    resetFrameTiming();  // the resize and rebirth are no frame time
    runStats.elapsedSeconds = 0.0f;
    announceCalibration();
}

}  // namespace

int32_t scaledParticleCount(int32_t count, float frameSeconds)
{
    // Where the cost is proportional to the count, this halves the
    // logarithmic error of the frame time every frame.
    const float ratio = static_cast<float>(std::sqrt(double{runStats.fixedStepSeconds} / frameSeconds));
    const double n = double{ratio} * count;
    if (!(n <= poolSize))  // NaN too
        return poolSize;
    if (n < smallestParticleCount)
        return smallestParticleCount;
    return static_cast<int32_t>(n);
}

void calibrationStep()
{
    if (!countKnown)
        particleCount = scaledParticleCount(particleCount, runStats.frameSeconds);
    if (--calibrationFrames != 0)
        return;
    endCalibration();
}

void calibrateTo(int32_t count)
{
    particleCount = std::clamp(count, smallestParticleCount, poolSize);
    calibrationFrames = 1;
    countKnown = true;
}

int32_t refinedParticleCount(int32_t estimate, int32_t drawnCount, float frameSeconds)
{
    return scaledParticleCount(estimate, static_cast<float>(double{frameSeconds} * estimate / drawnCount));
}
