#include "start_count.h"

#include <GL/gl.h>

#include <cstdio>
#include <cstdlib>

#include "../core/frame_clock.h"
#include "count_file.h"
#include "options.h"
#include "small_file.h"

namespace {

CountSource source = CountSource::calibration;
CountKey key;
std::string path;
int32_t rememberedCount;
bool saidOfTheFile;

// With --verbose, one line at most: a saver that cannot remember still runs as it always did.
void sayOfTheFile(const std::string& line)
{
    if (options.verbose && !saidOfTheFile)
        std::fprintf(stderr, "astrelle: %s\n", line.c_str());
    saidOfTheFile = true;
}

std::string glText(GLenum name)
{
    const GLubyte* text = glGetString(name);
    return text ? reinterpret_cast<const char*>(text) : "";
}

}  // namespace

StartCount chooseStartCount()
{
    if (options.count != 0)
        return {source = CountSource::given, static_cast<int32_t>(options.count)};
    key = {glText(GL_RENDERER), glText(GL_VERSION), runStats.windowWidth, runStats.windowHeight};
    path = countFilePath(std::getenv("XDG_CACHE_HOME"), std::getenv("HOME"));
    if (path.empty())
        sayOfTheFile("nowhere to remember the count: neither XDG_CACHE_HOME nor HOME names a folder");
    if (path.empty() || options.preciseCalibration || options.recalibrate)
        return {};
    std::string problem;
    std::vector<RememberedCount> entries;
    if (!parseCounts(readSmallFile(path, countFileLimit, problem), entries) && problem.empty())
        problem = "not a file of counts; it will be written anew";
    if (!problem.empty())
        sayOfTheFile("not reading " + path + ": " + problem);
    const RememberedCount* found = findCount(entries, key);
    if (found)
        rememberedCount = found->count;
    return found ? StartCount{source = CountSource::remembered, found->count} : StartCount{};
}

void keepCount(int32_t count, CountFoundBy by)
{
    std::string problem;
    if (!path.empty() && !updateSmallFile(path, countFileLimit, [&](const std::string& text) {
            std::vector<RememberedCount> others;
            parseCounts(text, others);
            return formatCounts({key, count}, others);
        }, problem))
        sayOfTheFile("cannot remember the count in " + path + ": " + problem);
    else if (!path.empty() && by == CountFoundBy::check && options.verbose)
        std::fprintf(stderr, "astrelle: %d particles remembered: %d proved far too slow\n", count, rememberedCount);
}

const char* startCountSource()
{
    const char* const names[] = {"calibrated", "remembered", "given by --count"};
    return names[static_cast<int>(source)];
}
