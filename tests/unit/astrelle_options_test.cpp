// astrelle's command line as hosts write it, and the window it then draws on.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../../astr/x11/options.h"

namespace {

struct OptionCase {
    std::vector<const char*> arguments;
    const char* xscreensaverWindow;  // null: not set
    Parsed parsed;
    WindowSource source = WindowSource::own;  // when run
    unsigned long id = 0;
    long delay = Options::defaultDelayMicroseconds;
    std::string problem = "";  // the line that names what was refused
};

class AstrelleOptions : public ::testing::TestWithParam<OptionCase> {};

TEST_P(AstrelleOptions, ParseAndChooseTheWindow)
{
    const OptionCase& c = GetParam();
    std::vector<const char*> argv{"astrelle"};
    argv.insert(argv.end(), c.arguments.begin(), c.arguments.end());
    Options options;
    std::string problem;
    ASSERT_EQ(parseOptions(static_cast<int>(argv.size()), argv.data(), options, problem), c.parsed);
    EXPECT_EQ(problem, c.problem);
    if (c.parsed != Parsed::run)
        return;
    const WindowChoice choice = chooseWindow(options, c.xscreensaverWindow);
    EXPECT_EQ(choice.source, c.source);
    if (choice.source == WindowSource::given) {
        EXPECT_EQ(choice.id, c.id);
    }
    EXPECT_EQ(options.delayMicroseconds, c.delay);
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

// Each setting's switch sets its own field, and the later of a pair wins.
TEST(AstrelleOptionFlags, EachSwitchSetsItsSetting)
{
    const char* argv[] = {"astrelle", "--fixed-sync", "-sync-frames", "--prec", "-music", "--no-fps", "-fps",
                          "--verbose", "-display", ":7", "--recalibrate", "--count", "500"};
    Options options;
    std::string problem;
    ASSERT_EQ(parseOptions(13, argv, options, problem), Parsed::run);
    EXPECT_TRUE(options.fixedSync && options.syncFrames && options.prec && options.music && options.fps &&
                options.verbose && options.recalibrate);
    EXPECT_STREQ(options.display, ":7");
    EXPECT_EQ(options.count, 500);
    const Options plain;
    EXPECT_FALSE(plain.fixedSync || plain.syncFrames || plain.prec || plain.music || plain.fps || plain.verbose ||
                 plain.recalibrate || plain.count != 0);
}

}  // namespace
