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

bool countKnown;             // calibrateTo: the calibration's one frame keeps the count
int32_t framesToCalibrate;   // the frames this start's calibration runs
int32_t checkFramesLeft;     // shown frames still to measure against a count given
float checkedSeconds[checkedFrames];
bool countGivenUp;           // the count given proved far too slow

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
    const bool calibrated = !countKnown;  // a count given is kept by whoever gave it
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
    if (calibrated && countFound)
        countFound(particleCount, CountFoundBy::calibration);
}

}  // namespace

CountFound countFound;

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

void startCalibration()
{
    framesToCalibrate = calibrationFrames;
    countKnown = false;
    checkFramesLeft = 0;
}

void calibrationStep()
{
    if (!countKnown)
        particleCount = scaledParticleCount(particleCount, runStats.frameSeconds);
    if (--calibrationFrames != 0) {
        // A host that ends the saver sooner than this machine calibrates
        // still leaves the next start something to go on from.
        if (!countKnown && countFound && framesToCalibrate - calibrationFrames == framesToCalibrate / 4)
            countFound(particleCount, CountFoundBy::partCalibration);
        return;
    }
    endCalibration();
}

void calibrateTo(int32_t count)
{
    particleCount = std::clamp(count, smallestParticleCount, poolSize);
    calibrationFrames = 1;
    countKnown = true;
}

void checkCountOnShownFrames()
{
    checkFramesLeft = checkedFrames;
    countGivenUp = false;
}

bool checkingCount()
{
    return checkFramesLeft != 0 && calibrationFrames == 0;
}

void noteCheckedFrame(float seconds)
{
    checkedSeconds[checkedFrames - checkFramesLeft] = seconds;
    if (--checkFramesLeft != 0)
        return;
    // The median, so that a frame or two slowed by whatever else runs decide nothing.
    std::nth_element(checkedSeconds, checkedSeconds + checkedFrames / 2, checkedSeconds + checkedFrames);
    const float median = checkedSeconds[checkedFrames / 2];
    if (scaledParticleCount(particleCount, median) < particleCount / 2) {
        // As if the cost were proportional to the count; the buffer holds no more than the count given.
        const double fitting = static_cast<double>(particleCount) * runStats.fixedStepSeconds / median;
        particleCount = std::max(smallestParticleCount, static_cast<int32_t>(fitting));
        countGivenUp = true;
        checkFramesLeft = checkedFrames;  // and checked again at that
    } else if (countGivenUp && countFound) {
        countFound(particleCount, CountFoundBy::check);
    }
}
