// astrelle on an X server of the test's own, checked from outside as a host
// sees it: the windows it draws on, what the screen shows, how it ends.
#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/keysym.h>
#include <signal.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
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
    // Every start remembers its count in a cache of the tests' own.
    static void SetUpTestSuite()
    {
        ASSERT_NE(xd::startServer(), nullptr) << "no Xvfb";
        char folder[] = "/tmp/astrelle-cache-XXXXXX";
        ASSERT_NE(mkdtemp(folder), nullptr);
        cacheFolder = folder;
        setenv("XDG_CACHE_HOME", folder, 1);
    }

    static void TearDownTestSuite() { std::filesystem::remove_all(cacheFolder); }

    void TearDown() override
    {
        if (xd::running(program))
            xd::waitForEnd(program, 0);
    }

    xd::Program program;
    static inline std::string cacheFolder;
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
        return seen.size() == 640u * 700u &&
               countColours({seen.begin(), seen.begin() + 640 * (700 - 360)}).orangeRed > 0;
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
    const char* says;  // its first line on standard error
    bool usage;        // the usage follows that line
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
    EXPECT_EQ(said.substr(0, said.find('\n')), c.says) << said;
    EXPECT_EQ(said.find("\nusage: astrelle") == said.find('\n'), c.usage) << said;
}

INSTANTIATE_TEST_SUITE_P(
    Starts, AstrelleRefuses,
    ::testing::Values(
        RefusalCase{"UnknownOption", {"--frobnicate"}, {}, "astrelle: unknown option \"--frobnicate\"", true},
        RefusalCase{"BadCount", {"--count", "1"}, {},
                    "astrelle: --count: \"1\" is not 0 or a whole number from 2 to 32768", true},
        RefusalCase{"NoDisplay", {}, {"DISPLAY=:9999"}, "astrelle: Unable to open display \":9999\".", false},
        RefusalCase{"NoSuchWindow", {"--window-id", "0x7ffffff"}, {}, "astrelle: Unable to find window 0x7ffffff.",
                    false}),
    [](const auto& info) { return std::string(info.param.name); });

// --help and --version answer on standard output and end well.
TEST_F(Astrelle, AnswersHelpAndVersion)
{
    for (const char* asked : {"--help", "-version"}) {
        program = xd::start(astrelle, {asked});
        EXPECT_EQ(xd::waitForEnd(program, 5.0).exitCode, 0);
        EXPECT_EQ(xd::output(program).rfind(asked[1] == '-' ? "usage: astrelle" : "astrelle 1.", 0), 0u);
        EXPECT_EQ(xd::errors(program), "");
    }
}

// Sizes any client can send in a ConfigureNotify of its own: the picture
// follows the window's real size and stays.
TEST_F(Astrelle, KeepsItsPictureThroughForgedResizes)
{
    const Window host = xd::makeWindow(480, 360);
    program = xd::start(astrelle, {"--window-id", hex(host)});
    ASSERT_TRUE(showsTheSwarmAroundItsGlow(xd::waitForSwarm(host), 480 * 360)) << xd::errors(program);
    for (const auto& [width, height] : {std::pair{0, 0}, std::pair{65535, 1}})
        xd::sendConfigureNotify(host, width, height);
    xd::sleepSeconds(0.5);
    EXPECT_TRUE(showsTheSwarmAroundItsGlow(xd::waitForSwarm(host, 0), 480 * 360));
    XDestroyWindow(xd::connection(), host);
}

struct StartCase {
    const char* name;
    std::vector<std::string> arguments;
    const char* cache;    // what $XDG_CACHE_HOME/astrelle/counts holds before; "file": a file holds its folder's place
    const char* how;      // how the start came by its count, as --verbose says it
    int count;            // the count it says, 0 for any
    const char* problem;  // the start of the one further line --verbose says, or ""
};

class AstrelleStarts : public Astrelle, public ::testing::WithParamInterface<StartCase> {};

// A first start calibrates and remembers at once what it found; the next
// start draws no unseen frame: it shows the swarm at that count and says so.
// A bad file or a cache it cannot write gives an ordinary first start.
TEST_P(AstrelleStarts, ComesByItsCountAndShowsTheSwarm)
{
    const StartCase& c = GetParam();
    char folder[] = "/tmp/astrelle-cache-XXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    const std::string cache = std::string(folder) + (std::string(c.cache) == "file" ? "/file/under" : "");
    if (std::string(c.cache) == "file")
        std::ofstream(std::string(folder) + "/file") << "a file where the folder should be";
    else if (*c.cache) {
        std::filesystem::create_directories(cache + "/astrelle");
        std::ofstream(cache + "/astrelle/counts") << c.cache;
    }
    const Window host = xd::makeWindow(320, 240);
    std::vector<std::string> arguments = {"--window-id", hex(host), "--verbose"};
    arguments.insert(arguments.end(), c.arguments.begin(), c.arguments.end());
    int count = c.count;
    const std::filesystem::path file = cache + "/astrelle/counts";
    for (const char* how : {c.how, "remembered"}) {
        std::error_code none;
        const auto written = std::filesystem::last_write_time(file, none);
        XClearWindow(xd::connection(), host);  // the last start's picture goes
        program = xd::start(astrelle, arguments, {"XDG_CACHE_HOME=" + cache, "MESA_SHADER_CACHE_DISABLE=true"});
        EXPECT_TRUE(showsTheSwarmAroundItsGlow(xd::waitForSwarm(host), 320 * 240)) << xd::errors(program);
        const size_t lines = *c.problem ? 2 : 1;
        xd::waitUntil([&] {
            const std::string said = xd::errors(program);
            return std::count(said.begin(), said.end(), '\n') >= static_cast<long>(lines);
        });
        const std::string said = xd::errors(program);
        const std::string line = " particles in 320 x 240 (" + std::string(how) + ")\n";
        int saidCount = 0;
        EXPECT_EQ(std::sscanf(said.c_str(), "astrelle: %d", &saidCount), 1) << said;
        EXPECT_EQ(said.find(line), said.find(' ', 10)) << said;
        EXPECT_TRUE(count == 0 || saidCount == count) << said;  // a warm start draws the count remembered
        EXPECT_EQ(said.substr(said.find('\n') + 1).rfind(c.problem, 0), 0u) << said;
        EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), static_cast<long>(lines)) << said;
        if (std::string(how) == "remembered")  // what its measured frames led to is remembered anew
            EXPECT_TRUE(xd::waitUntil([&] { return std::filesystem::last_write_time(file, none) != written; }));
        kill(program.pid, SIGTERM);
        xd::waitForEnd(program);
        if (*c.problem || std::string(c.how) != "calibrated")
            break;  // nothing remembered: the next start would be the same
        count = saidCount;
    }
    XDestroyWindow(xd::connection(), host);
    std::filesystem::remove_all(folder);
}

INSTANTIATE_TEST_SUITE_P(
    Caches, AstrelleStarts,
    ::testing::Values(StartCase{"FirstThenWarm", {}, "", "calibrated", 0, ""},
                      StartCase{"Garbage", {}, "astrelle counts 1\n\x01\x02 garbage\n12", "calibrated", 0, ""},
                      StartCase{"Unwritable", {}, "file", "calibrated", 0, "astrelle: cannot remember the count in "},
                      StartCase{"Counted", {"--count", "500"}, "", "given by --count", 500, ""}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
