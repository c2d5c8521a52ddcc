// astrelle's command line as hosts write it, and the window it then draws on.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "../../astr/core/settings.h"
#include "../../astr/linux/options.h"

namespace {

struct OptionCase {
    std::vector<const char*> arguments;
    const char* xscreensaverWindow;  // null: not set
    Parsed parsed;
    WindowSource source = WindowSource::own;  // when run
    unsigned long id = 0;
    long delay = defaultDelayMicroseconds;
    std::string problem = "";  // the line that names what was refused
};

class AstrelleOptions : public ::testing::TestWithParam<OptionCase> {};

TEST_P(AstrelleOptions, ParseAndChooseTheWindow)
{
    const OptionCase& c = GetParam();
    std::vector<const char*> argv{"astrelle"};
    argv.insert(argv.end(), c.arguments.begin(), c.arguments.end());
    Options parsed;
    std::string problem;
    ASSERT_EQ(parseOptions(static_cast<int>(argv.size()), argv.data(), parsed, problem), c.parsed);
    EXPECT_EQ(problem, c.problem);
    if (c.parsed != Parsed::run)
        return;
    const WindowChoice choice = chooseWindow(parsed, c.xscreensaverWindow);
    EXPECT_EQ(choice.source, c.source);
    if (choice.source == WindowSource::given) {
        EXPECT_EQ(choice.id, c.id);
    }
    EXPECT_EQ(parsed.delayMicroseconds, c.delay);
}

using W = WindowSource;
constexpr Parsed run = Parsed::run, refused = Parsed::refused;

// The line each kind of refusal gives for that value.
std::string badId(const std::string& value)
{
    return "--window-id: \"" + value + "\" is not a window id (0x... or decimal, not 0)";
}
std::string badDelay(const std::string& value)
{
    return "--delay: \"" + value + "\" is not a whole number from 0 to 10000000";
}
std::string badCount(const std::string& value)
{
    return "--count: \"" + value + "\" is not 0 or a whole number from 2 to 32768";
}
std::string badGeometry(const std::string& value)
{
    return "--geometry: \"" + value + "\" is not a geometry (WxH, +X+Y or WxH+X+Y, sizes from 1 to 32767)";
}

INSTANTIATE_TEST_SUITE_P(
    Table, AstrelleOptions,
    ::testing::Values(
        OptionCase{{}, nullptr, run},
        OptionCase{{}, "0x400001", run},  // the variable alone chooses nothing
        OptionCase{{"--root"}, "0x400001", run, W::given, 0x400001},
        OptionCase{{"-root"}, "4194305", run, W::given, 4194305},
        OptionCase{{"--root"}, nullptr, run, W::virtualRoot},
        OptionCase{{"--root"}, "", run, W::virtualRoot},
        OptionCase{{"--root"}, "garbage", run, W::virtualRoot},
        OptionCase{{"--root", "--window"}, "0x400001", run},
        OptionCase{{"-window-id", "0x2a", "--root"}, "0x400001", run, W::given, 0x2a},
        OptionCase{{"--window-id", "42"}, nullptr, run, W::given, 42},
        OptionCase{{"--window-id", "0XFFFFFFFF"}, nullptr, run, W::given, 0xFFFFFFFF},
        OptionCase{{"--window-id", "0x100000000"}, nullptr, refused, W::own, 0, 0, badId("0x100000000")},
        OptionCase{{"--window-id", "0"}, nullptr, refused, W::own, 0, 0, badId("0")},
        OptionCase{{"--window-id", "-1"}, nullptr, refused, W::own, 0, 0, badId("-1")},
        OptionCase{{"--window-id", " 42"}, nullptr, refused, W::own, 0, 0, badId(" 42")},
        OptionCase{{"--window-id", "42x"}, nullptr, refused, W::own, 0, 0, badId("42x")},
        OptionCase{{"--window-id"}, nullptr, refused, W::own, 0, 0, "--window-id needs a value"},
        OptionCase{{"-delay", "0"}, nullptr, run, W::own, 0, 0},
        OptionCase{{"--delay", "10000000"}, nullptr, run, W::own, 0, 10000000},
        OptionCase{{"--delay", "10000001"}, nullptr, refused, W::own, 0, 0, badDelay("10000001")},
        OptionCase{{"--delay", "-5"}, nullptr, refused, W::own, 0, 0, badDelay("-5")},
        OptionCase{{"--delay", "abc"}, nullptr, refused, W::own, 0, 0, badDelay("abc")},
        OptionCase{{"--delay", "99999999999999999999"}, nullptr, refused, W::own, 0, 0,
                   badDelay("99999999999999999999")},
        OptionCase{{"--delay", "5ms"}, nullptr, refused, W::own, 0, 0, badDelay("5ms")},
        OptionCase{{"--count", "1"}, nullptr, refused, W::own, 0, 0, badCount("1")},
        OptionCase{{"--count", "32769"}, nullptr, refused, W::own, 0, 0, badCount("32769")},
        OptionCase{{"--count"}, nullptr, refused, W::own, 0, 0, "--count needs a value"},
        OptionCase{{"--geometry", "garbage"}, nullptr, refused, W::own, 0, 0, badGeometry("garbage")},
        OptionCase{{"--geometry", "0x0+0+0"}, nullptr, refused, W::own, 0, 0, badGeometry("0x0+0+0")},
        OptionCase{{"--geometry", "640x"}, nullptr, refused, W::own, 0, 0, badGeometry("640x")},
        OptionCase{{"--geometry", "+5"}, nullptr, refused, W::own, 0, 0, badGeometry("+5")},
        OptionCase{{"--geometry", "640x480+1+2x"}, nullptr, refused, W::own, 0, 0, badGeometry("640x480+1+2x")},
        OptionCase{{"--fixed-sync", "-sync-frames", "--prec", "-music", "--fps", "-no-fps", "--verbose",
                    "-display", ":1", "--geometry", "640x480", "-visual", "best", "--install",
                    "-noinstall", "--mono", "--count", "0", "-recalibrate"},
                   nullptr, run},
        OptionCase{{"--help", "--frobnicate"}, nullptr, Parsed::help},
        OptionCase{{"-version"}, nullptr, Parsed::version},
        OptionCase{{"--delay", "-5", "--help"}, nullptr, refused, W::own, 0, 0, badDelay("-5")},
        OptionCase{{"---root"}, nullptr, refused, W::own, 0, 0, "unknown option \"---root\""},
        OptionCase{{"root"}, nullptr, refused, W::own, 0, 0, "unknown option \"root\""},
        OptionCase{{"-"}, nullptr, refused, W::own, 0, 0, "unknown option \"-\""},
        OptionCase{{"--frobnicate"}, nullptr, refused, W::own, 0, 0, "unknown option \"--frobnicate\""}));

// Each switch sets its own field, the later of a pair wins, and the
// screensaver's settings follow the switches that stand for them.
TEST(AstrelleOptionFlags, EachSwitchSetsItsFieldAndItsSetting)
{
    const char* argv[] = {"astrelle", "--fixed-sync", "-sync-frames", "--prec", "-music", "--no-fps", "-fps",
                          "--verbose", "-display", ":7", "--recalibrate", "--count", "500", "--geometry", "=64x48-3+4"};
    Options parsed;
    std::string problem;
    ASSERT_EQ(parseOptions(15, argv, parsed, problem), Parsed::run);
    EXPECT_TRUE(parsed.fixedSync && parsed.syncFrames && parsed.preciseCalibration && parsed.music && parsed.fps &&
                parsed.verbose && parsed.recalibrate);
    EXPECT_STREQ(parsed.display, ":7");
    EXPECT_EQ(parsed.count, 500);
    const Geometry& g = parsed.geometry;
    EXPECT_TRUE(g.fromRight && !g.fromBottom);
    EXPECT_EQ(std::vector<long>({g.width, g.height, g.x, g.y}), std::vector<long>({64, 48, -3, 4}));
    applySettings(parsed);
    EXPECT_EQ(std::vector<int32_t>({settings.FixedSync, settings.glFinish, settings.Music}),
              std::vector<int32_t>({1, 1, 1}));
    parseOptions(1, argv, parsed, problem);
    applySettings(parsed);
    EXPECT_EQ(std::vector<int32_t>({settings.FixedSync, settings.glFinish, settings.Music}),
              std::vector<int32_t>({0, 0, 0}));
    EXPECT_FALSE(parsed.fixedSync || parsed.syncFrames || parsed.preciseCalibration || parsed.music || parsed.fps ||
                 parsed.verbose || parsed.recalibrate || parsed.count != 0 || parsed.geometry.width != 1280);
}

// The usage is made from the table: it names exactly the switches hosts and
// users pass, once each, and each is taken as the usage shows it.
TEST(AstrelleUsage, NamesEverySwitchTheParserTakesAndNoOther)
{
    const std::map<std::string, const char*> samples = {{"ID", "0x2a"},          {"DISPLAY", ":1"},
                                                        {"WxH+X+Y", "64x48+1+2"}, {"MICROSECONDS", "100"},
                                                        {"V", "best"},            {"N", "500"}};
    std::set<std::string> named;
    std::istringstream usage(usageText());
    for (std::string line; std::getline(usage, line);) {
        // "  --name VALUE   help" or "  --name   help"
        if (line.rfind("  --", 0) != 0)
            continue;
        const size_t nameEnd = line.find(' ', 4);
        const std::string name = line.substr(2, nameEnd - 2);
        const std::string value = line[nameEnd + 1] != ' ' ? line.substr(nameEnd + 1, line.find(' ', nameEnd + 1) - nameEnd - 1) : "";
        EXPECT_TRUE(named.insert(name.substr(2)).second) << line;
        std::vector<const char*> argv{"astrelle", name.c_str()};
        if (!value.empty()) {
            ASSERT_TRUE(samples.count(value)) << line;
            argv.push_back(samples.at(value));
        }
        Options parsed;
        std::string problem;
        EXPECT_NE(parseOptions(static_cast<int>(argv.size()), argv.data(), parsed, problem), Parsed::refused)
            << line << ": " << problem;
    }
    EXPECT_EQ(named, std::set<std::string>({"x11", "wayland", "cover", "root", "window", "window-id", "display", "geometry", "delay", "fps",
                                            "no-fps", "visual", "install", "noinstall", "mono", "count", "prec",
                                            "recalibrate", "fixed-sync", "sync-frames", "music", "verbose", "help",
                                            "version"}));
}

}  // namespace
