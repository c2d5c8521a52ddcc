#include "options.h"

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "../core/particles.h"

const char usageText[] =
    "usage: astrelle [--root | --window | --window-id ID] [--delay MICROSECONDS]\n"
    "                [--count N] [--prec | --recalibrate] [--fixed-sync] [--sync-frames]\n"
    "                [--music] [--fps | --no-fps] [--verbose] [--help] [--version]\n"
    "                [--display DISPLAY] [--geometry WxH+X+Y] [--visual V] [--install | --noinstall]\n"
    "                [--mono]\n"
    "Every switch may be written with one dash or two. --count 0, the default,\n"
    "fits the number of particles to the machine, and the count found is\n"
    "remembered for the next start in $XDG_CACHE_HOME/astrelle/counts\n"
    "(~/.cache/astrelle/counts where that is unset).\n";

namespace {

// A switch alone (flag), a switch with the value after it (text, windowId,
// delay, count), or one that asks for something else than a run.
enum class Kind { flag, text, windowId, delay, count, help, version };

struct Switch {
    const char* name;  // without its dashes
    Kind kind;
    bool Options::*flag = nullptr;  // set to `to` when given
    bool to = true;
    const char* Options::*text = nullptr;  // the value of a Kind::text switch, kept
};

// Accepted as every host's hacks accept them; the host owns the visual and
// the colour map of its window, so these change nothing here.
constexpr Switch switches[] = {
    {"root", Kind::flag, &Options::root},
    {"window", Kind::flag, &Options::root, false},
    {"window-id", Kind::windowId},
    {"delay", Kind::delay},
    {"count", Kind::count},
    {"fixed-sync", Kind::flag, &Options::fixedSync},
    {"sync-frames", Kind::flag, &Options::syncFrames},
    {"prec", Kind::flag, &Options::prec},
    {"recalibrate", Kind::flag, &Options::recalibrate},
    {"music", Kind::flag, &Options::music},
    {"fps", Kind::flag, &Options::fps},
    {"no-fps", Kind::flag, &Options::fps, false},
    {"verbose", Kind::flag, &Options::verbose},
    {"help", Kind::help},
    {"version", Kind::version},
    {"display", Kind::text, nullptr, true, &Options::display},
    {"geometry", Kind::text, nullptr, true, &Options::geometry},
    {"visual", Kind::text},
    {"install", Kind::flag},
    {"noinstall", Kind::flag},
    {"mono", Kind::flag},
};

const Switch* findSwitch(const char* argument)
{
    if (argument[0] != '-')
        return nullptr;
    const char* name = argument[1] == '-' ? argument + 2 : argument + 1;
    for (const Switch& s : switches)
        if (std::strcmp(s.name, name) == 0)
            return &s;
    return nullptr;
}

// Digits only, no sign or blank, up to highest.
bool parseWhole(const char* text, long highest, long& value)
{
    if (*text < '0' || *text > '9')
        return false;
    char* end;
    errno = 0;
    const long parsed = std::strtol(text, &end, 10);
    if (*end != '\0' || errno != 0 || parsed > highest)
        return false;
    value = parsed;
    return true;
}

// What a value switch takes; false, with the problem, for anything else.
bool takeValue(const Switch& s, const char* value, Options& options, std::string& problem)
{
    long number = 0;
    switch (s.kind) {
    case Kind::text:
        if (s.text)
            options.*(s.text) = value;
        return true;
    case Kind::windowId:
        options.windowIdGiven = parseWindowId(value, options.windowId);
        if (options.windowIdGiven)
            return true;
        problem = "is not a window id (0x... or decimal, not 0)";
        return false;
    case Kind::delay:
        if (parseWhole(value, Options::longestDelayMicroseconds, options.delayMicroseconds))
            return true;
        problem = "is not a whole number from 0 to " + std::to_string(Options::longestDelayMicroseconds);
        return false;
    case Kind::count:
        if (parseWhole(value, poolSize, number) && number != 1) {
            options.count = static_cast<int32_t>(number);
            return true;
        }
        problem = "is not 0 or a whole number from 2 to " + std::to_string(poolSize);
        return false;
    default:
        return true;
    }
}

}  // namespace

bool parseWindowId(const char* text, unsigned long& id)
{
    const bool hex = text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    const char* digits = hex ? text + 2 : text;
    if (!(hex ? std::isxdigit(static_cast<unsigned char>(*digits)) : *digits >= '0' && *digits <= '9'))
        return false;  // no sign, no blank, no empty number
    char* end;
    errno = 0;
    const unsigned long long value = std::strtoull(digits, &end, hex ? 16 : 10);
    if (*end != '\0' || errno != 0 || value == 0 || value > 0xFFFFFFFFull)
        return false;
    id = static_cast<unsigned long>(value);
    return true;
}

Parsed parseOptions(int argc, const char* const* argv, Options& options, std::string& problem)
{
    for (int i = 1; i < argc; ++i) {
        const Switch* s = findSwitch(argv[i]);
        if (!s) {
            problem = std::string("unknown option \"") + argv[i] + "\"";
            return Parsed::refused;
        }
        if (s->kind == Kind::help)
            return Parsed::help;
        if (s->kind == Kind::version)
            return Parsed::version;
        if (s->flag)
            options.*(s->flag) = s->to;
        if (s->kind == Kind::flag)
            continue;
        if (++i >= argc) {
            problem = std::string(argv[i - 1]) + " needs a value";
            return Parsed::refused;
        }
        if (!takeValue(*s, argv[i], options, problem)) {
            problem = std::string(argv[i - 1]) + ": \"" + argv[i] + "\" " + problem;
            return Parsed::refused;
        }
    }
    return Parsed::run;
}

WindowChoice chooseWindow(const Options& options, const char* xscreensaverWindow)
{
    if (options.windowIdGiven)
        return {WindowSource::given, options.windowId};
    if (!options.root)
        return {WindowSource::own, 0};
    unsigned long id = 0;
    if (xscreensaverWindow && parseWindowId(xscreensaverWindow, id))
        return {WindowSource::given, id};
    return {WindowSource::virtualRoot, 0};
}
