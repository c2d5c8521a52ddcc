#include "options.h"

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>

const char usageText[] =
    "usage: astrelle [--root | --window | --window-id ID] [--delay MICROSECONDS]\n"
    "                [--fixed-sync] [--sync-frames] [--prec] [--music] [--fps | --no-fps]\n"
    "                [--display DISPLAY] [--geometry WxH+X+Y] [--visual V] [--install | --noinstall]\n"
    "                [--mono] [--verbose]\n"
    "Every switch may be written with one dash or two.\n";

namespace {

enum class Value { none, text, windowId, delay };

struct Switch {
    const char* name;  // without its dashes
    Value value;
    bool Options::*flag = nullptr;  // set to `to` when given
    bool to = true;
    const char* Options::*text = nullptr;  // the value of a Value::text switch, kept
};

// Accepted as every host's hacks accept them; the host owns the visual and
// the colour map of its window, so these change nothing here.
constexpr Switch switches[] = {
    {"root", Value::none, &Options::root},
    {"window", Value::none, &Options::root, false},
    {"window-id", Value::windowId},
    {"delay", Value::delay},
    {"fixed-sync", Value::none, &Options::fixedSync},
    {"sync-frames", Value::none, &Options::syncFrames},
    {"prec", Value::none, &Options::prec},
    {"music", Value::none, &Options::music},
    {"fps", Value::none, &Options::fps},
    {"no-fps", Value::none, &Options::fps, false},
    {"verbose", Value::none, &Options::verbose},
    {"display", Value::text, nullptr, true, &Options::display},
    {"geometry", Value::text, nullptr, true, &Options::geometry},
    {"visual", Value::text},
    {"install", Value::none},
    {"noinstall", Value::none},
    {"mono", Value::none},
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

bool parseDelay(const char* text, long& microseconds)
{
    if (*text < '0' || *text > '9')
        return false;
    char* end;
    errno = 0;
    const long value = std::strtol(text, &end, 10);
    if (*end != '\0' || errno != 0 || value > Options::longestDelayMicroseconds)
        return false;
    microseconds = value;
    return true;
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

bool parseOptions(int argc, const char* const* argv, Options& options)
{
    for (int i = 1; i < argc; ++i) {
        const Switch* s = findSwitch(argv[i]);
        if (!s)
            return false;
        if (s->flag)
            options.*(s->flag) = s->to;
        if (s->value == Value::none)
            continue;
        if (++i >= argc)
            return false;
        const char* value = argv[i];
        switch (s->value) {
        case Value::text:
            if (s->text)
                options.*(s->text) = value;
            break;
        case Value::windowId:
            if (!parseWindowId(value, options.windowId))
                return false;
            options.windowIdGiven = true;
            break;
        case Value::delay:
            if (!parseDelay(value, options.delayMicroseconds))
                return false;
            break;
        case Value::none:
            break;
        }
    }
    return true;
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
