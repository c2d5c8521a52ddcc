// astrelle on an X server of the test's own, checked from outside as a host
// sees it: the windows it draws on, what the screen shows, how it ends.
#include <gtest/gtest.h>

#include <GL/gl.h>
#include <X11/Xlib.h>
#include <X11/keysym.h>
#include <signal.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "../../astr/linux/count_file.h"
#include "../../astr/linux/small_file.h"
#include "gl_window.h"
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
        ASSERT_NE(x11driver::startServer(), nullptr) << "no Xvfb";
        char folder[] = "/tmp/astrelle-cache-XXXXXX";
        ASSERT_NE(mkdtemp(folder), nullptr);
        cacheFolder = folder;
        setenv("XDG_CACHE_HOME", folder, 1);
    }

    static void TearDownTestSuite() { std::filesystem::remove_all(cacheFolder); }

    void TearDown() override
    {
        if (x11driver::running(program))
            x11driver::waitForEnd(program, 0);
    }

    x11driver::Program program;
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
    program = x11driver::start(astrelle, c.arguments);
    const Window window = x11driver::waitForWindowNamed("Astrelle");
    ASSERT_NE(window, 0u) << x11driver::errors(program);
    const std::vector<uint32_t> first = x11driver::pixels(window);
    const ColourCounts shown = x11driver::waitForSwarm(window);
    EXPECT_TRUE(showsTheSwarmAroundItsGlow(shown, first.size()))
        << shown.black << " black, " << shown.orangeRed << " orange-red, " << shown.blueGreen << " blue-green";
    if (c.key)
        x11driver::pressKey(window, c.key);
    else
        x11driver::askToClose(window);
    const x11driver::End end = x11driver::waitForEnd(program, promptly);
    EXPECT_TRUE(end.ended);
    EXPECT_EQ(end.exitCode, 0);
    EXPECT_EQ(x11driver::errors(program), "");
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
    const Window host = x11driver::makeWindow(480, 360);
    const std::string id = c.decimal ? std::to_string(host) : hex(host);
    if (c.byEnvironment)
        program = x11driver::start(astrelle, {"--root"}, {"XSCREENSAVER_WINDOW=" + id});
    else
        program = x11driver::start(astrelle, {"-window-id", id}, {"XSCREENSAVER_WINDOW="});
    EXPECT_TRUE(showsTheSwarmAroundItsGlow(x11driver::waitForSwarm(host), 480 * 360)) << x11driver::errors(program);

    // GL's viewport grows from the window's lower left corner: the picture
    // reaches the top rows only when it follows the new size.
    x11driver::resize(host, 640, 700);
    std::vector<uint32_t> seen;
    EXPECT_TRUE(x11driver::waitUntil([&] {
        seen = x11driver::pixels(host);
        return seen.size() == 640u * 700u &&
               countColours({seen.begin(), seen.begin() + 640 * (700 - 360)}).orangeRed > 0;
    }, 10.0, 0.25)) << "the picture did not grow to the new size: " << seen.size() << " pixels";

    kill(program.pid, SIGTERM);
    const x11driver::End end = x11driver::waitForEnd(program, promptly);
    EXPECT_EQ(end.signal, SIGTERM);
    EXPECT_EQ(x11driver::errors(program), "");
    XDestroyWindow(x11driver::connection(), host);
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
    const Window host = x11driver::makeWindow(320, 240);
    program = x11driver::start(astrelle, {"--window-id", hex(host)});
    ASSERT_TRUE(showsTheSwarmAroundItsGlow(x11driver::waitForSwarm(host), 320 * 240)) << x11driver::errors(program);
    XDestroyWindow(x11driver::connection(), host);
    XSync(x11driver::connection(), False);
    const x11driver::End end = x11driver::waitForEnd(program, promptly);
    EXPECT_TRUE(end.ended);
    EXPECT_EQ(end.exitCode, 0);
    EXPECT_EQ(x11driver::errors(program), "");
}

// A host pauses the saver (SIGSTOP) and lets it go on (SIGCONT): the picture
// goes on from where it stood, not from where three seconds would have
// taken it.
TEST_F(Astrelle, GoesOnAfterAPauseWithoutAJump)
{
    const Window host = x11driver::makeWindow(480, 360);
    program = x11driver::start(astrelle, {"--window-id", hex(host)});
    ASSERT_TRUE(showsTheSwarmAroundItsGlow(x11driver::waitForSwarm(host), 480 * 360)) << x11driver::errors(program);
    const std::vector<uint32_t> before = x11driver::pixels(host);
    x11driver::sleepSeconds(3.0);
    const double threeSeconds = changeBetween(before, x11driver::pixels(host), 480);

    kill(program.pid, SIGSTOP);
    x11driver::sleepSeconds(0.1);
    const std::vector<uint32_t> stopped = x11driver::pixels(host);
    x11driver::sleepSeconds(3.0);
    kill(program.pid, SIGCONT);
    x11driver::sleepSeconds(0.15);
    const double overThePause = changeBetween(stopped, x11driver::pixels(host), 480);
    EXPECT_LT(overThePause, threeSeconds / 2) << "three seconds running changed " << threeSeconds;

    kill(program.pid, SIGTERM);
    EXPECT_EQ(x11driver::waitForEnd(program, promptly).signal, SIGTERM);
    XDestroyWindow(x11driver::connection(), host);
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
    program = x11driver::start(astrelle, c.arguments, c.environment);
    const x11driver::End end = x11driver::waitForEnd(program, 5.0);
    EXPECT_EQ(end.exitCode, 1);
    const std::string said = x11driver::errors(program);
    EXPECT_EQ(said.substr(0, said.find('\n')), c.says) << said;
    EXPECT_EQ(said.find("\nusage: astrelle") == said.find('\n'), c.usage) << said;
}

INSTANTIATE_TEST_SUITE_P(
    Starts, AstrelleRefuses,
    ::testing::Values(
        RefusalCase{"UnknownOption", {"--frobnicate"}, {}, "astrelle: unknown option \"--frobnicate\"", true},
        RefusalCase{"BadCount", {"--count", "1"}, {},
                    "astrelle: --count: \"1\" is not 0 or a whole number from 2 to 32768", true},
        RefusalCase{"BadGeometry", {"--geometry", "0x0+0+0"}, {},
                    "astrelle: --geometry: \"0x0+0+0\" is not a geometry (WxH, +X+Y or WxH+X+Y, sizes from 1 to 32767)",
                    true},
        RefusalCase{"NoDisplay", {}, {"DISPLAY=:9999"}, "astrelle: Unable to open display \":9999\".", false},
        RefusalCase{"NoSuchWindow", {"--window-id", "0x7ffffff"}, {}, "astrelle: Unable to find window 0x7ffffff.",
                    false}),
    [](const auto& info) { return std::string(info.param.name); });

// --help and --version answer on standard output and end well.
TEST_F(Astrelle, AnswersHelpAndVersion)
{
    for (const char* asked : {"--help", "-version"}) {
        program = x11driver::start(astrelle, {asked});
        EXPECT_EQ(x11driver::waitForEnd(program, 5.0).exitCode, 0);
        EXPECT_EQ(x11driver::output(program).rfind(asked[1] == '-' ? "usage: astrelle" : "astrelle 1.", 0), 0u);
        EXPECT_EQ(x11driver::errors(program), "");
    }
}

// Sizes any client can send in a ConfigureNotify of its own: the picture
// follows the window's real size and stays.
TEST_F(Astrelle, KeepsItsPictureThroughForgedResizes)
{
    const Window host = x11driver::makeWindow(480, 360);
    program = x11driver::start(astrelle, {"--window-id", hex(host)});
    ASSERT_TRUE(showsTheSwarmAroundItsGlow(x11driver::waitForSwarm(host), 480 * 360)) << x11driver::errors(program);
    for (const auto& [width, height] : {std::pair{0, 0}, std::pair{65535, 1}})
        x11driver::sendConfigureNotify(host, width, height);
    x11driver::sleepSeconds(0.5);
    EXPECT_TRUE(showsTheSwarmAroundItsGlow(x11driver::waitForSwarm(host, 0), 480 * 360));
    XDestroyWindow(x11driver::connection(), host);
}

// GL's renderer and version on the test's display, as a count file keys them.
std::string glKey()
{
    if (!openGlWindow("key", 16, 16).empty())
        return "";
    const std::string key = std::string(reinterpret_cast<const char*>(glGetString(GL_RENDERER))) + "\t" +
                            reinterpret_cast<const char*>(glGetString(GL_VERSION));
    closeGlWindow();
    return key;
}

// Whether the line begins as the pattern does, where # stands for a number.
bool saysAsPattern(const std::string& line, const std::string& pattern)
{
    size_t at = 0;
    for (const char p : pattern) {
        if (p != '#') {
            if (at >= line.size() || line[at++] != p)
                return false;
            continue;
        }
        const size_t digits = line.find_first_not_of("0123456789", at);
        if (digits == at || digits == std::string::npos)
            return false;
        at = digits;
    }
    return true;
}

struct StartCase {
    const char* name;
    std::vector<std::string> arguments;
    // What the count file holds before (KEY: the test display's GL), or "file": a file holds its folder's
    // place, or "full": a full filesystem.
    std::string cache;
    std::vector<std::string> said;  // the lines --verbose says, each as it begins, after "astrelle: "
    bool thenWarm;                  // what it found is remembered: the next start shows it at once
};

class AstrelleStarts : public Astrelle, public ::testing::WithParamInterface<StartCase> {};

// A start comes by its count as the count file and its switches allow, says
// how, and shows the swarm whatever stands in the file's way; what it found
// is remembered for the next start, which shows that count at once.
TEST_P(AstrelleStarts, ComesByItsCountAndShowsTheSwarm)
{
    const StartCase& c = GetParam();
    char folder[] = "/tmp/astrelle-cache-XXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    const std::string cache = std::string(folder) + (c.cache == "file" ? "/file/under" : "");
    std::vector<std::string> environment = {"XDG_CACHE_HOME=" + cache, "MESA_SHADER_CACHE_DISABLE=true"};
    if (c.cache == "file") {
        std::ofstream(std::string(folder) + "/file") << "a file where the folder should be";
    } else if (c.cache == "full") {
        if (getuid() != 0 || std::system(("mount -t tmpfs -o size=8k tmpfs " + cache).c_str()) != 0)
            GTEST_SKIP() << "a full filesystem needs root to mount a tmpfs";
        std::system(("dd if=/dev/zero of=" + cache + "/filler bs=4k count=8 2>/dev/null").c_str());
        environment.pop_back();  // GL's own disk cache as a user has it
    } else if (!c.cache.empty()) {
        std::string text = c.cache;
        if (const size_t key = text.find("KEY"); key != std::string::npos)
            text.replace(key, 3, glKey());
        std::filesystem::create_directories(cache + "/astrelle");
        std::ofstream(cache + "/astrelle/counts") << text;
    }
    const Window host = x11driver::makeWindow(320, 240);
    std::vector<std::string> arguments = {"--window-id", hex(host), "--verbose"};
    arguments.insert(arguments.end(), c.arguments.begin(), c.arguments.end());
    std::vector<std::string> said = c.said;
    for (int start = 0; start < (c.thenWarm ? 2 : 1); ++start) {
        XClearWindow(x11driver::connection(), host);  // the last start's picture goes
        program = x11driver::start(astrelle, arguments, environment);
        EXPECT_TRUE(showsTheSwarmAroundItsGlow(x11driver::waitForSwarm(host), 320 * 240)) << x11driver::errors(program);
        x11driver::waitUntil([&] {
            const std::string text = x11driver::errors(program);
            return std::count(text.begin(), text.end(), '\n') >= static_cast<long>(said.size());
        });
        std::istringstream lines(x11driver::errors(program));
        std::vector<std::string> seen;
        for (std::string line; std::getline(lines, line);)
            seen.push_back(line);
        EXPECT_EQ(seen.size(), said.size()) << x11driver::errors(program);
        for (size_t i = 0; i < seen.size() && i < said.size(); ++i)
            EXPECT_TRUE(saysAsPattern(seen[i], "astrelle: " + said[i])) << seen[i] << "\nagainst " << said[i];
        kill(program.pid, SIGTERM);
        x11driver::waitForEnd(program);
        // The next start draws the count the file holds now.
        std::string problem;
        std::vector<RememberedCount> entries;
        parseCounts(readSmallFile(cache + "/astrelle/counts", countFileLimit, problem), entries);
        said = {std::to_string(entries.empty() ? 0 : entries.front().count) + " particles in 320 x 240 (remembered)"};
        arguments.resize(3);
    }
    XDestroyWindow(x11driver::connection(), host);
    if (c.cache == "full")
        std::system(("umount " + cache).c_str());
    std::filesystem::remove_all(folder);
}

INSTANTIATE_TEST_SUITE_P(
    Caches, AstrelleStarts,
    ::testing::Values(
        StartCase{"FirstThenWarm", {}, "", {"# particles in 320 x 240 (calibrated)"}, true},
        StartCase{"Garbage", {}, "astrelle counts 2\n\x01\x02 garbage\n12",
                  {"not reading ", "# particles in 320 x 240 (calibrated)"}, true},
        StartCase{"OldVersion", {}, "astrelle counts 1\n3000 320 240 0 KEY\n",
                  {"# particles in 320 x 240 (calibrated)"}, true},
        StartCase{"Unwritable", {}, "file", {"cannot remember the count in ", "# particles in 320 x 240 (calibrated)"},
                  false},
        StartCase{"Counted", {"--count", "500"}, "", {"500 particles in 320 x 240 (given by --count)"}, false},
        StartCase{"FarTooSlow", {}, "astrelle counts 2\n32768 320 240 KEY\n",
                  {"32768 particles in 320 x 240 (remembered)", "# particles remembered: 32768 proved far too slow"},
                  true},
        StartCase{"FullCache", {"--count", "100"}, "full",
                  {"/tmp/astrelle-cache-", "100 particles in 320 x 240 (given by --count)"}, false}),
    [](const auto& info) { return std::string(info.param.name); });

// A host that cycles sooner than this machine calibrates: a start ended a
// quarter of the way through its calibration leaves what it found, and the
// next start shows the swarm at once.
TEST_F(Astrelle, GoesOnFromACalibrationEndedEarly)
{
    char folder[] = "/tmp/astrelle-cache-XXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    const std::string counts = std::string(folder) + "/astrelle/counts";
    const Window host = x11driver::makeWindow(320, 240);
    const std::vector<std::string> environment = {std::string("XDG_CACHE_HOME=") + folder};
    program = x11driver::start(astrelle, {"--window-id", hex(host), "--prec"}, environment);
    std::string problem;
    std::vector<RememberedCount> entries;
    EXPECT_TRUE(x11driver::waitUntil([&] {
        return parseCounts(readSmallFile(counts, countFileLimit, problem), entries) && !entries.empty();
    }, 60.0, 0.1));
    EXPECT_EQ(countColours(x11driver::pixels(host)).orangeRed, 0u) << "the precise calibration showed its frames";
    kill(program.pid, SIGTERM);
    x11driver::waitForEnd(program);
    program = x11driver::start(astrelle, {"--window-id", hex(host), "--verbose"}, environment);
    EXPECT_TRUE(showsTheSwarmAroundItsGlow(x11driver::waitForSwarm(host), 320 * 240));
    x11driver::waitUntil([&] { return !x11driver::errors(program).empty(); });
    EXPECT_TRUE(saysAsPattern(x11driver::errors(program), "astrelle: # particles in 320 x 240 (remembered)"))
        << x11driver::errors(program);
    kill(program.pid, SIGTERM);
    x11driver::waitForEnd(program);
    XDestroyWindow(x11driver::connection(), host);
    std::filesystem::remove_all(folder);
}

}  // namespace
