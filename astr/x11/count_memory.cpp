#include "count_memory.h"

#include <GL/gl.h>

#include <cstdio>
#include <cstdlib>

#include "../core/calibration.h"
#include "../core/frame_clock.h"
#include "../core/particles.h"
#include "../core/platform.h"
#include "count_cache.h"

namespace {

enum class Start { calibrated, remembered, counted };
const char* const startNames[] = {"calibrated", "remembered", "given by --count"};

constexpr int measuredFrames = defaultCalibrationFrames;

bool announcing;  // --verbose
Start start = Start::calibrated;
CountKey key;
std::string path;
bool precise;
int framesMeasured;
int32_t estimate;
bool told;

// At most one line a start about the file, and only with --verbose: a saver
// that cannot remember still runs as it always did.
void tell(const std::string& what)
{
    if (announcing && !told)
        std::fprintf(stderr, "astrelle: %s\n", what.c_str());
    told = true;
}

std::string glText(GLenum name)
{
    const GLubyte* text = glGetString(name);
    return text ? reinterpret_cast<const char*>(text) : "";
}

// Read again just before, so that what another start wrote meanwhile stays.
void remember(int32_t count, bool foundPrecisely)
{
    if (path.empty())
        return;
    std::string problem;
    std::vector<RememberedCount> entries = readCounts(path, problem);
    rememberCount(entries, {key, count, foundPrecisely});
    if (!writeCounts(path, entries, problem))
        tell("cannot remember the count in " + path + ": " + problem);
}

}  // namespace

void chooseStart(const Options& options)
{
    announcing = options.verbose;
    if (options.count != 0) {
        start = Start::counted;
        calibrateTo(options.count);
        return;
    }
    key = {glText(GL_RENDERER), glText(GL_VERSION), runStats.windowWidth, runStats.windowHeight};
    path = countFilePath(std::getenv("XDG_CACHE_HOME"), std::getenv("HOME"));
    precise = options.prec;
    if (path.empty())
        tell("nowhere to remember the count: neither XDG_CACHE_HOME nor HOME names a folder");
    if (options.prec || options.recalibrate || path.empty())
        return;
    std::string problem;
    const std::vector<RememberedCount> entries = readCounts(path, problem);
    if (!problem.empty())
        tell("not reading " + path + ": " + problem);
    const RememberedCount* found = findCount(entries, key);
    if (!found)
        return;
    start = Start::remembered;
    estimate = found->count;
    calibrateTo(found->count);
}

bool measuringFrames()
{
    return start == Start::remembered && calibrationFrames == 0 && framesMeasured < measuredFrames;
}

void noteMeasuredFrame(float seconds)
{
    estimate = refinedParticleCount(estimate, particleCount, seconds);
    if (++framesMeasured == measuredFrames)
        remember(estimate, false);
}

// The moment a start has its count, in the frame that ends calibration: a
// calibrated count is remembered at once, since a host may end the saver any
// moment after.
void announceParticleCount(const char* text)
{
    if (announcing)
        std::fprintf(stderr, "astrelle: %s (%s)\n", text, startNames[static_cast<int>(start)]);
    if (start == Start::calibrated)
        remember(particleCount, precise);
}
