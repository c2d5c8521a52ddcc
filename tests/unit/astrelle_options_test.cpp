// astrelle's command line as hosts write it, and the window it then draws on.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../../astr/x11/options.h"

namespace {

struct OptionCase {
    std::vector<const char*> arguments;
    const char* xscreensaverWindow;  // null: not set
    bool accepted;
    WindowSource source = WindowSource::own;  // when accepted
    unsigned long id = 0;
    long delay = 0;
};

constexpr long byDefault = Options::defaultDelayMicroseconds;

class AstrelleOptions : public ::testing::TestWithParam<OptionCase> {};

TEST_P(AstrelleOptions, ParseAndChooseTheWindow)
{
    const OptionCase& c = GetParam();
    std::vector<const char*> argv{"astrelle"};
    argv.insert(argv.end(), c.arguments.begin(), c.arguments.end());
    Options options;
    ASSERT_EQ(parseOptions(static_cast<int>(argv.size()), argv.data(), options), c.accepted);
    if (!c.accepted)
        return;
    const WindowChoice choice = chooseWindow(options, c.xscreensaverWindow);
    EXPECT_EQ(choice.source, c.source);
    if (choice.source == WindowSource::given) {
        EXPECT_EQ(choice.id, c.id);
    }
    EXPECT_EQ(options.delayMicroseconds, c.delay);
}

using W = WindowSource;
INSTANTIATE_TEST_SUITE_P(
    Table, AstrelleOptions,
    ::testing::Values(
        OptionCase{{}, nullptr, true, W::own, 0, byDefault},
        OptionCase{{}, "0x400001", true, W::own, 0, byDefault},  // the variable alone chooses nothing
        OptionCase{{"--root"}, "0x400001", true, W::given, 0x400001, byDefault},
        OptionCase{{"-root"}, "4194305", true, W::given, 4194305, byDefault},
        OptionCase{{"--root"}, nullptr, true, W::virtualRoot, 0, byDefault},
        OptionCase{{"--root"}, "", true, W::virtualRoot, 0, byDefault},
        OptionCase{{"--root"}, "garbage", true, W::virtualRoot, 0, byDefault},
        OptionCase{{"--root", "--window"}, "0x400001", true, W::own, 0, byDefault},
        OptionCase{{"-window-id", "0x2a", "--root"}, "0x400001", true, W::given, 0x2a, byDefault},
        OptionCase{{"--window-id", "42"}, nullptr, true, W::given, 42, byDefault},
        OptionCase{{"--window-id", "0XFFFFFFFF"}, nullptr, true, W::given, 0xFFFFFFFF, byDefault},
        OptionCase{{"--window-id", "0x100000000"}, nullptr, false},
        OptionCase{{"--window-id", "0"}, nullptr, false},
        OptionCase{{"--window-id", "-1"}, nullptr, false},
        OptionCase{{"--window-id", " 42"}, nullptr, false},
        OptionCase{{"--window-id", "42x"}, nullptr, false},
        OptionCase{{"--window-id"}, nullptr, false},
        OptionCase{{"-delay", "0"}, nullptr, true, W::own, 0, 0},
        OptionCase{{"--delay", "10000000"}, nullptr, true, W::own, 0, 10000000},
        OptionCase{{"--delay", "10000001"}, nullptr, false},
        OptionCase{{"--delay", "-5"}, nullptr, false},
        OptionCase{{"--delay", "99999999999999999999"}, nullptr, false},
        OptionCase{{"--delay", "5ms"}, nullptr, false},
        OptionCase{{"--fixed-sync", "-sync-frames", "--prec", "-music", "--fps", "-no-fps", "--verbose",
                    "-display", ":1", "--geometry", "640x480", "-visual", "best", "--install",
                    "-noinstall", "--mono"},
                   nullptr, true, W::own, 0, byDefault},
        OptionCase{{"---root"}, nullptr, false},
        OptionCase{{"root"}, nullptr, false},
        OptionCase{{"-"}, nullptr, false},
        OptionCase{{"--frobnicate"}, nullptr, false}));

// Each setting's switch sets its own field, and the later of a pair wins.
TEST(AstrelleOptionFlags, EachSwitchSetsItsSetting)
{
    const char* argv[] = {"astrelle", "--fixed-sync", "-sync-frames", "--prec", "-music",
                          "--no-fps",  "-fps",         "--verbose",   "-display", ":7"};
    Options options;
    ASSERT_TRUE(parseOptions(10, argv, options));
    EXPECT_TRUE(options.fixedSync && options.syncFrames && options.prec && options.music && options.fps &&
                options.verbose);
    EXPECT_STREQ(options.display, ":7");
    const Options plain;
    EXPECT_FALSE(plain.fixedSync || plain.syncFrames || plain.prec || plain.music || plain.fps || plain.verbose);
}

}  // namespace
