// astrelle on an X server of the test's own, checked from outside as a host
// sees it: the windows it draws on, what the screen shows, how it ends.
#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/keysym.h>
#include <signal.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "x11_driver.h"

namespace {

const std::string astrelle = ASTRELLE_PROGRAM;
constexpr double promptly = 1.0;  // seconds a host waits for a saver to go

std::string hex(Window window)
{
    char text[32];
    std::snprintf(text, sizeof text, "0x%lx", window);
    return text;
}

// The brightness of the picture in blocks of 32 x 32 pixels; the share of
// it that moved between two pictures, 0 (the same) to 1.
double changeBetween(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b, int width)
{
    const int height = static_cast<int>(a.size()) / width;
    const int columns = (width + 31) / 32, rows = (height + 31) / 32;
    std::vector<double> blocksA(static_cast<size_t>(columns * rows)), blocksB(blocksA.size());
    for (size_t i = 0; i < a.size() && i < b.size(); ++i) {
        const size_t block = (i / width / 32) * columns + (i % width) / 32;
        blocksA[block] += a[i] >> 16 & 0xFF;
        blocksB[block] += b[i] >> 16 & 0xFF;
    }
    double moved = 0, all = 0;
    for (size_t i = 0; i < blocksA.size(); ++i) {
        moved += std::abs(blocksA[i] - blocksB[i]);
        all += blocksA[i] + blocksB[i];
    }
    return all > 0 ? moved / all : 0;
}

class Astrelle : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_NE(xd::startServer(), nullptr) << "no Xvfb"; }

    void TearDown() override
    {
        if (xd::running(program))
            xd::waitForEnd(program, 0);
    }

    xd::Program program;
};

struct OwnEndCase {
    const char* name;
    std::vector<std::string> arguments;
    unsigned long key;  // 0: the window manager's close
};

class AstrelleOwnWindow : public Astrelle, public ::testing::WithParamInterface<OwnEndCase> {};

// Without a window switch it makes a window of its own, draws the swarm
// there, and q, Escape or the window manager's close end it at once. Without
// a sound device, --music plays nothing and says nothing.
TEST_P(AstrelleOwnWindow, DrawsTheSwarmAndEndsOnQEscapeOrClose)
{
    const OwnEndCase& c = GetParam();
    program = xd::start(astrelle, c.arguments);
    const Window window = xd::waitForWindowNamed("Astrelle");
    ASSERT_NE(window, 0u) << xd::errors(program);
    const std::vector<uint32_t> first = xd::pixels(window);
    const ColourCounts shown = xd::waitForSwarm(window);
    EXPECT_TRUE(showsTheSwarmAroundItsGlow(shown, first.size()))
        << shown.black << " black, " << shown.orangeRed << " orange-red, " << shown.blueGreen << " blue-green";
    if (c.key)
        xd::pressKey(window, c.key);
    else
        xd::askToClose(window);
    const xd::End end = xd::waitForEnd(program, promptly);
    EXPECT_TRUE(end.ended);
    EXPECT_EQ(end.exitCode, 0);
    EXPECT_EQ(xd::errors(program), "");
}

INSTANTIATE_TEST_SUITE_P(Ends, AstrelleOwnWindow,
                         ::testing::Values(OwnEndCase{"Q", {"--music", "--fps"}, XK_q},
                                           OwnEndCase{"Escape", {"-delay", "0"}, XK_Escape},
                                           OwnEndCase{"Close", {}, 0}),
                         [](const auto& info) { return std::string(info.param.name); });

struct HostCase {
    const char* name;
    bool byEnvironment;  // $XSCREENSAVER_WINDOW with --root, else --window-id
    bool decimal;
};

class AstrelleHostWindow : public Astrelle, public ::testing::WithParamInterface<HostCase> {};

// On a window given by id it draws with that window's visual, follows its
// size, and dies by SIGTERM as hosts expect, promptly.
TEST_P(AstrelleHostWindow, DrawsThereFollowsItsSizeAndDiesBySigterm)
{
    const HostCase& c = GetParam();
    const Window host = xd::makeWindow(480, 360);
    const std::string id = c.decimal ? std::to_string(host) : hex(host);
    if (c.byEnvironment)
        program = xd::start(astrelle, {"--root"}, {"XSCREENSAVER_WINDOW=" + id});
    else
        program = xd::start(astrelle, {"-window-id", id}, {"XSCREENSAVER_WINDOW="});
    EXPECT_TRUE(showsTheSwarmAroundItsGlow(xd::waitForSwarm(host), 480 * 360)) << xd::errors(program);

    // GL's viewport grows from the window's lower left corner: the picture
    // reaches the top rows only when it follows the new size.
    xd::resize(host, 640, 700);
    std::vector<uint32_t> seen;
    EXPECT_TRUE(xd::waitUntil([&] {
        seen = xd::pixels(host);
        return seen.size() == 640u * 700u && countColours({seen.begin(), seen.begin() + 640 * (700 - 360)}).orangeRed > 0;
    }, 10.0, 0.25)) << "the picture did not grow to the new size: " << seen.size() << " pixels";

    kill(program.pid, SIGTERM);
    const xd::End end = xd::waitForEnd(program, promptly);
    EXPECT_EQ(end.signal, SIGTERM);
    EXPECT_EQ(xd::errors(program), "");
    XDestroyWindow(xd::connection(), host);
}

INSTANTIATE_TEST_SUITE_P(Ids, AstrelleHostWindow,
                         ::testing::Values(HostCase{"WindowIdHex", false, false},
                                           HostCase{"WindowIdDecimal", false, true},
                                           HostCase{"EnvironmentHex", true, false},
                                           HostCase{"EnvironmentDecimal", true, true}),
                         [](const auto& info) { return std::string(info.param.name); });

// The screen unblanks: the host's window vanishes under the saver, which
// ends quietly within a second.
TEST_F(Astrelle, EndsQuietlyWhenItsWindowIsDestroyed)
{
    const Window host = xd::makeWindow(320, 240);
    program = xd::start(astrelle, {"--window-id", hex(host)});
    ASSERT_TRUE(showsTheSwarmAroundItsGlow(xd::waitForSwarm(host), 320 * 240)) << xd::errors(program);
    XDestroyWindow(xd::connection(), host);
    XSync(xd::connection(), False);
    const xd::End end = xd::waitForEnd(program, promptly);
    EXPECT_TRUE(end.ended);
    EXPECT_EQ(end.exitCode, 0);
    EXPECT_EQ(xd::errors(program), "");
}

// A host pauses the saver (SIGSTOP) and lets it go on (SIGCONT): the picture
// goes on from where it stood, not from where three seconds would have
// taken it.
TEST_F(Astrelle, GoesOnAfterAPauseWithoutAJump)
{
    const Window host = xd::makeWindow(480, 360);
    program = xd::start(astrelle, {"--window-id", hex(host)});
    ASSERT_TRUE(showsTheSwarmAroundItsGlow(xd::waitForSwarm(host), 480 * 360)) << xd::errors(program);
    const std::vector<uint32_t> before = xd::pixels(host);
    xd::sleepSeconds(3.0);
    const double threeSeconds = changeBetween(before, xd::pixels(host), 480);

    kill(program.pid, SIGSTOP);
    xd::sleepSeconds(0.1);
    const std::vector<uint32_t> stopped = xd::pixels(host);
    xd::sleepSeconds(3.0);
    kill(program.pid, SIGCONT);
    xd::sleepSeconds(0.15);
    const double overThePause = changeBetween(stopped, xd::pixels(host), 480);
    EXPECT_LT(overThePause, threeSeconds / 2) << "three seconds running changed " << threeSeconds;

    kill(program.pid, SIGTERM);
    EXPECT_EQ(xd::waitForEnd(program, promptly).signal, SIGTERM);
    XDestroyWindow(xd::connection(), host);
}

struct RefusalCase {
    const char* name;
    std::vector<std::string> arguments;
    std::vector<std::string> environment;
    const char* says;  // the start of its one line on standard error
};

class AstrelleRefuses : public Astrelle, public ::testing::WithParamInterface<RefusalCase> {};

// What it cannot start with, it says in one line, and ends with status 1.
TEST_P(AstrelleRefuses, SaysWhyAndExitsOne)
{
    const RefusalCase& c = GetParam();
    program = xd::start(astrelle, c.arguments, c.environment);
    const xd::End end = xd::waitForEnd(program, 5.0);
    EXPECT_EQ(end.exitCode, 1);
    const std::string said = xd::errors(program);
    EXPECT_EQ(said.rfind(c.says, 0), 0u) << said;
    if (said.rfind("usage:", 0) != 0) {
        EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Starts, AstrelleRefuses,
    ::testing::Values(RefusalCase{"UnknownOption", {"--frobnicate"}, {}, "usage: astrelle"},
                      RefusalCase{"BadDelay", {"-delay", "-5"}, {}, "usage: astrelle"},
                      RefusalCase{"NoDisplay", {}, {"DISPLAY=:9999"}, "astrelle: Unable to open display \":9999\"."},
                      RefusalCase{"NoSuchWindow", {"--window-id", "0x7ffffff"}, {}, "astrelle: Unable to find window"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
