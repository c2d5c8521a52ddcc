#include "options.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <variant>

#include "../core/calibration.h"
#include "../core/particles.h"
#include "../core/settings.h"
#include "../core/whole_number.h"

Options options;

namespace {

// What a switch sets; its type says what value the switch takes. Flags take
// none and set theirs to `to`; the rest take the word after them.
using Field = std::variant<std::monostate, bool Options::*, long Options::*, unsigned long Options::*,
                           const char* Options::*, Geometry Options::*>;

enum class Block { host, saver, answers };
constexpr const char* blockHeads[] = {"Where it draws, as hosts start it:", "The saver:", ""};

struct Switch {
    Block block;
    const char* name;   // without its dashes
    const char* value;  // the value's name in the usage; null: the switch takes none
    const char* help;   // its line in the usage
    Field field;
    bool to = true;                        // what a flag sets
    int32_t Settings::*setting = nullptr;  // the screensaver setting a flag stands for
    long lowest = 0, highest = 0;          // a number's range
    bool orZero = false;                   // 0 too, below the range
    long byDefault = 0;                    // a number's default
};

// A switch alone, which sets its field to `to`, and the setting it stands for.
Switch flag(Block block, const char* name, const char* help, bool Options::*field, bool to = true,
            int32_t Settings::*setting = nullptr)
{
    return {block, name, nullptr, help, field, to, setting};
}

// A whole number from lowest to highest (and 0 where orZero), its default.
Switch number(Block block, const char* name, const char* value, const char* help, long Options::*field, long lowest,
              long highest, long byDefault, bool orZero = false)
{
    return {block, name, value, help, field, true, nullptr, lowest, highest, orZero, byDefault};
}

// A switch with a word after it: a text, a window id or a geometry.
Switch word(Block block, const char* name, const char* value, const char* help, Field field)
{
    return {block, name, value, help, field};
}

// Every host's savers take these; the host owns the visual and the colour
// map of its window, so they change nothing here.
Switch taken(const char* name, const char* value = nullptr)
{
    return {Block::host, name, value, "taken, as hosts pass it; changes nothing", {}};
}

const Block host = Block::host, saver = Block::saver;

const Switch switches[] = {
    flag(host, "x11", "draw under X11, even where a Wayland compositor answers", &Options::x11),
    flag(host, "wayland", "draw under the Wayland compositor of $WAYLAND_DISPLAY", &Options::wayland),
    flag(host, "cover", "cover every output of the Wayland compositor until input comes", &Options::cover),
    flag(host, "root", "draw on the host's window ($XSCREENSAVER_WINDOW), else the root window", &Options::root),
    flag(host, "window", "draw in a window of its own (the default)", &Options::root, false),
    word(host, "window-id", "ID", "draw on that window (0x... or decimal)", &Options::windowId),
    word(host, "display", "DISPLAY", "the X display (else $DISPLAY)", &Options::display),
    word(host, "geometry", "WxH+X+Y", "the size and place of a window of its own", &Options::geometry),
    number(host, "delay", "MICROSECONDS", "the pause after each frame", &Options::delayMicroseconds, 0,
           longestDelayMicroseconds, defaultDelayMicroseconds),
    flag(host, "fps", "the frame rate and the count in a corner", &Options::fps),
    flag(host, "no-fps", "no frame rate (the default)", &Options::fps, false),
    taken("visual", "V"),
    taken("install"),
    taken("noinstall"),
    taken("mono"),
    number(saver, "count", "N", "draw N particles; 0 fits their number to the machine", &Options::count,
           smallestParticleCount, poolSize, 0, true),
    flag(saver, "prec", "calibrate over 2048 unseen frames, whatever was remembered", &Options::preciseCalibration),
    flag(saver, "recalibrate", "calibrate again, whatever was remembered", &Options::recalibrate),
    flag(saver, "fixed-sync", "step the swarm by 0.01 s a frame", &Options::fixedSync, true, &Settings::FixedSync),
    flag(saver, "sync-frames", "wait for GL to finish every frame", &Options::syncFrames, true, &Settings::glFinish),
    flag(saver, "music", "loop the background sound", &Options::music, true, &Settings::Music),
    flag(saver, "verbose", "say on standard error how the count was come by", &Options::verbose),
    {Block::answers, "help", nullptr, "this text", {}},
    {Block::answers, "version", nullptr, "the version", {}},
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

std::string rangeText(const Switch& s)
{
    return std::string(s.orZero ? "0 or " : "") + "a whole number from " + std::to_string(s.lowest) + " to " +
           std::to_string(s.highest);
}

// Puts a switch's value (none for a flag) into its field; false, with the
// problem, for a value it does not take.
struct Take {
    const Switch& s;
    Options& parsed;
    const char* value;
    std::string& problem;

    bool operator()(std::monostate) const { return true; }
    bool operator()(bool Options::*flag) const
    {
        parsed.*flag = s.to;
        return true;
    }
    bool operator()(long Options::*number) const
    {
        long read = 0;
        if ((s.orZero && std::strcmp(value, "0") == 0) ||
            parseWholeNumber(std::string_view(value), s.lowest, s.highest, read)) {
            parsed.*number = read;
            return true;
        }
        problem = "is not " + rangeText(s);
        return false;
    }
    bool operator()(unsigned long Options::*id) const
    {
        if (parseWindowId(value, parsed.*id))
            return true;
        problem = "is not a window id (0x... or decimal, not 0)";
        return false;
    }
    bool operator()(const char* Options::*text) const
    {
        parsed.*text = value;
        return true;
    }
    bool operator()(Geometry Options::*geometry) const
    {
        if (parseGeometry(value, parsed.*geometry))
            return true;
        problem = "is not a geometry (WxH, +X+Y or WxH+X+Y, sizes from 1 to 32767)";
        return false;
    }
};

// "+12", "-0": a sign and digits; false for anything else.
bool parseOffset(const char*& at, int& offset, bool& negative)
{
    negative = *at == '-';
    const char* digits = ++at;
    while (std::isdigit(static_cast<unsigned char>(*at)))
        ++at;
    return parseWholeNumber(std::string_view(digits, static_cast<size_t>(at - digits)), 0, 32767, offset);
}

}  // namespace

std::string usageText()
{
    std::string text = "usage: astrelle [SWITCH...]\nEvery switch may be written with one dash or two.\n";
    for (const Block block : {Block::host, Block::saver, Block::answers}) {
        text += *blockHeads[static_cast<int>(block)] ? std::string("\n") + blockHeads[static_cast<int>(block)] + "\n"
                                                     : "\n";
        for (const Switch& s : switches) {
            if (s.block != block)
                continue;
            std::string left = std::string("  --") + s.name + (s.value ? std::string(" ") + s.value : "");
            left.resize(std::max<size_t>(left.size() + 2, 26), ' ');
            text += left + s.help;
            if (std::holds_alternative<long Options::*>(s.field))
                text += std::string(" (") + (s.orZero ? "0 or " : "") + std::to_string(s.lowest) + " to " +
                        std::to_string(s.highest) + ", default " + std::to_string(s.byDefault) + ")";
            text += "\n";
        }
    }
    return text + "\nA count found is remembered for the next start in $XDG_CACHE_HOME/astrelle/counts\n"
                  "(~/.cache/astrelle/counts where that is unset).\n";
}

Parsed parseOptions(int argc, const char* const* argv, Options& parsed, std::string& problem)
{
    parsed = Options{};
    for (const Switch& s : switches)
        if (const auto* number = std::get_if<long Options::*>(&s.field))
            parsed.**number = s.byDefault;
    for (int i = 1; i < argc; ++i) {
        const Switch* s = findSwitch(argv[i]);
        if (!s) {
            problem = std::string("unknown option \"") + argv[i] + "\"";
            return Parsed::refused;
        }
        if (std::strcmp(s->name, "help") == 0)
            return Parsed::help;
        if (std::strcmp(s->name, "version") == 0)
            return Parsed::version;
        const char* value = nullptr;
        if (s->value && ++i >= argc) {
            problem = std::string(argv[i - 1]) + " needs a value";
            return Parsed::refused;
        }
        if (s->value)
            value = argv[i];
        if (!std::visit(Take{*s, parsed, value, problem}, s->field)) {
            problem = std::string(argv[i - 1]) + ": \"" + value + "\" " + problem;
            return Parsed::refused;
        }
    }
    return Parsed::run;
}

void applySettings(const Options& parsed)
{
    settings = defaultSettings();
    for (const Switch& s : switches)
        if (s.setting)
            settings.*s.setting = parsed.*std::get<bool Options::*>(s.field) ? 1 : 0;
}

bool parseWindowId(const char* text, unsigned long& id)
{
    const bool hex = text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    return parseWholeNumber(std::string_view(hex ? text + 2 : text), 1ul, 0xFFFFFFFFul, id, hex ? 16 : 10);
}

bool parseGeometry(const char* text, Geometry& geometry)
{
    Geometry read = geometry;
    const char* at = text + (*text == '=');
    const bool sized = std::isdigit(static_cast<unsigned char>(*at));
    if (sized) {
        const char* x = std::strpbrk(at, "xX");
        if (!x || !parseWholeNumber(std::string_view(at, static_cast<size_t>(x - at)), 1u, 32767u, read.width))
            return false;
        at = x + 1;
        const char* end = at;
        while (std::isdigit(static_cast<unsigned char>(*end)))
            ++end;
        if (!parseWholeNumber(std::string_view(at, static_cast<size_t>(end - at)), 1u, 32767u, read.height))
            return false;
        at = end;
    }
    const bool placed = *at == '+' || *at == '-';
    if (placed) {
        if (!parseOffset(at, read.x, read.fromRight) || (*at != '+' && *at != '-') ||
            !parseOffset(at, read.y, read.fromBottom))
            return false;
        read.x = read.fromRight ? -read.x : read.x;
        read.y = read.fromBottom ? -read.y : read.y;
    }
    if (*at != '\0' || !(sized || placed))
        return false;
    geometry = read;
    return true;
}

WindowChoice chooseWindow(const Options& parsed, const char* xscreensaverWindow)
{
    if (parsed.windowId != 0)
        return {WindowSource::given, parsed.windowId};
    if (!parsed.root)
        return {WindowSource::own, 0};
    unsigned long id = 0;
    if (xscreensaverWindow && parseWindowId(xscreensaverWindow, id))
        return {WindowSource::given, id};
    return {WindowSource::virtualRoot, 0};
}
