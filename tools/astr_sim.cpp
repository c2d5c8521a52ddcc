// astr-sim: runs the screensaver's swarm as the main loop would, without a
// window or drawing, and reports or dumps what it came to.
#include <chrono>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "../astr/core/frame_clock.h"
#include "../astr/core/particles.h"
#include "../astr/core/whole_number.h"
#include "../astr/core/window_state.h"
#include "headless_frame.h"

namespace {

const char usage[] =
    "usage: astr-sim [--seed N] [--frames N] [--calibration N] [--step S]\n"
    "                [--frame-seconds S | --particle-seconds S] [--window W,H]\n"
    "                [--hold-h A,B] [--dump FILE] [--bench]\n";

struct Options {
    uint32_t seed = 1;
    uint32_t frames = 300;
    uint32_t calibration = defaultCalibrationFrames;
    float step = fixedStep;
    float frameSeconds = fixedStep;
    float particleSeconds = 0.0f;
    bool costPerParticle = false;  // --particle-seconds given
    uint32_t windowWidth = 1024, windowHeight = 768;
    uint32_t holdFrom = 0, holdTo = 0;  // 0: H never held
    const char* dumpPath = nullptr;
    bool bench = false;
};

bool parseCount(std::string_view text, uint32_t limit, uint32_t& value)
{
    return parseWholeNumber<uint32_t>(text, 0, limit, value);
}

bool parseSeconds(const char* text, float& value)
{
    char* end;
    const double parsed = std::strtod(text, &end);
    if (end == text || *end != '\0' || !(parsed >= 0.0) || parsed > 1e6)
        return false;
    value = static_cast<float>(parsed);
    return true;
}

bool parsePair(const char* text, uint32_t limit, uint32_t& first, uint32_t& second)
{
    const char* comma = std::strchr(text, ',');
    if (!comma)
        return false;
    return parseCount(std::string_view(text, static_cast<size_t>(comma - text)), limit, first) &&
           parseCount(comma + 1, limit, second);
}

bool parseOptions(int argc, char** argv, Options& options)
{
    bool sawFrameSeconds = false;
    for (int i = 1; i < argc; ++i) {
        const std::string name = argv[i];
        if (name == "--bench") {
            options.bench = true;
            continue;
        }
        if (i + 1 >= argc)
            return false;
        const char* value = argv[++i];
        bool ok;
        if (name == "--seed")
            ok = parseCount(value, UINT32_MAX, options.seed);
        else if (name == "--frames")
            ok = parseCount(value, 100000000, options.frames);
        else if (name == "--calibration")
            ok = parseCount(value, 100000000, options.calibration);
        else if (name == "--step")
            ok = parseSeconds(value, options.step);
        else if (name == "--frame-seconds") {
            ok = parseSeconds(value, options.frameSeconds);
            sawFrameSeconds = true;
        } else if (name == "--particle-seconds") {
            ok = parseSeconds(value, options.particleSeconds);
            options.costPerParticle = true;
        }
        else if (name == "--window")
            ok = parsePair(value, 65535, options.windowWidth, options.windowHeight);
        else if (name == "--hold-h")
            ok = parsePair(value, UINT32_MAX, options.holdFrom, options.holdTo) && options.holdFrom >= 1 &&
                 options.holdFrom <= options.holdTo;
        else if (name == "--dump") {
            ok = *value != '\0';
            options.dumpPath = value;
        } else
            ok = false;
        if (!ok)
            return false;
    }
    return !(sawFrameSeconds && options.costPerParticle);
}

bool writeDump(const char* path)
{
    std::FILE* file = std::fopen(path, "wb");  // binary: the same bytes on every build
    if (!file)
        return false;
    std::fprintf(file, "%" PRId32 " %" PRId32 "\n", particleCount, calibrationFrames);
    std::fprintf(file, "%.9g\n", spinDegrees);
    const Attractor& a = attractor;
    std::fprintf(file, "%.9g %.9g %.9g %.9g %.9g %.9g\n", a.position.x, a.position.y, a.position.z, a.velocity.x,
                 a.velocity.y, a.velocity.z);
    for (int32_t i = 0; i < particleCount; ++i) {
        const Particle& p = particleBuffer[i];
        std::fprintf(file, "%.9g %.9g %.9g %.9g %.9g %.9g %.9g %.9g %.9g\n", p.position.x, p.position.y, p.position.z,
                     p.velocity.x, p.velocity.y, p.velocity.z, p.screenX, p.screenY, p.brightness);
    }
    return std::fclose(file) == 0;
}

}  // namespace

int main(int argc, char** argv)
{
    Options options;
    if (!parseOptions(argc, argv, options)) {
        std::fputs(usage, stderr);
        return 2;
    }

    calibrationFrames = static_cast<int32_t>(options.calibration);
    setAspectForClientSize(options.windowWidth, options.windowHeight);
    createParticleBuffer();
    initSimulation(options.seed);
    runStats.fixedStepSeconds = fixedStep;  // as the main loop sets it before its first frame

    int32_t drawnCount = 0;  // what the frame before was drawn with
    uint64_t particleSteps = 0;
    const auto start = std::chrono::steady_clock::now();
    for (uint32_t frame = 1; frame <= options.frames; ++frame) {
        keyDown[holdKey] = frame >= options.holdFrom && frame <= options.holdTo && options.holdFrom != 0;
        runStats.stepSeconds = options.step;
        runStats.frameSeconds =
            options.costPerParticle ? static_cast<float>(double{options.particleSeconds} * drawnCount)
                                    : options.frameSeconds;
        simulateFrame();
        drawnCount = particleCount;
        particleSteps += static_cast<uint64_t>(particleCount);
    }
    const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - start;

    std::printf("frames %" PRIu32 ", seed %" PRIu32 ", calibration frames %" PRIu32 "\n", options.frames,
                options.seed, options.calibration);
    std::printf("particleCount %" PRId32 ", calibrationFrames left %" PRId32 "\n", particleCount,
                calibrationFrames);
    std::printf("attractor at (%.5f, %.5f, %.5f), view turned %.2f degrees\n", attractor.position.x,
                attractor.position.y, attractor.position.z, spinDegrees);
    if (options.bench && seconds.count() > 0.0)
        std::printf("%.0f particle steps per second (%.2f ns per particle step)\n", particleSteps / seconds.count(),
                    1e9 * seconds.count() / static_cast<double>(particleSteps ? particleSteps : 1));

    if (options.dumpPath && !writeDump(options.dumpPath)) {
        std::fprintf(stderr, "astr-sim: cannot write %s\n", options.dumpPath);
        return 1;
    }
    std::free(particleBuffer);
    return 0;
}
