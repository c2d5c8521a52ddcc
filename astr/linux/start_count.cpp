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

void say(const std::string& line, bool ofTheFile = false)
{
    if (options.verbose && !(ofTheFile && saidOfTheFile))
        std::fprintf(stderr, "astrelle: %s\n", line.c_str());
    saidOfTheFile = saidOfTheFile || ofTheFile;
}

std::string glText(GLenum name)
{
    const GLubyte* text = glGetString(name);
    return text ? reinterpret_cast<const char*>(text) : "";
}

}  // namespace

StartCount chooseStartCount()
{
    if (options.count != 0) {
        source = CountSource::given;
        return {source, static_cast<int32_t>(options.count)};
    }
    key = {glText(GL_RENDERER), glText(GL_VERSION), runStats.windowWidth, runStats.windowHeight};
    path = countFilePath(std::getenv("XDG_CACHE_HOME"), std::getenv("HOME"));
    if (path.empty())
        say("nowhere to remember the count: neither XDG_CACHE_HOME nor HOME names a folder", true);
    if (path.empty() || options.preciseCalibration || options.recalibrate)
        return {};
    std::string problem;
    std::vector<RememberedCount> entries;
    if (!parseCounts(readSmallFile(path, countFileLimit, problem), entries) && problem.empty())
        problem = "not a file of counts; it will be written anew";
    if (!problem.empty())
        say("not reading " + path + ": " + problem, true);
    const RememberedCount* found = findCount(entries, key);
    if (!found)
        return {};
    source = CountSource::remembered;
    rememberedCount = found->count;
    return {source, found->count};
}

void keepCount(int32_t count, CountFoundBy by)
{
    std::string problem;
    if (path.empty() || !updateSmallFile(path, countFileLimit, [&](const std::string& text) {
            std::vector<RememberedCount> others;
            parseCounts(text, others);
            return formatCounts({key, count}, others);
        }, problem))
        say("cannot remember the count in " + path + ": " + problem, true);
    else if (by == CountFoundBy::check)
        say(std::to_string(count) + " particles remembered: " + std::to_string(rememberedCount) +
            " proved far too slow");
}

const char* startCountSource()
{
    const char* const names[] = {"calibrated", "remembered", "given by --count"};
    return names[static_cast<int>(source)];
}
