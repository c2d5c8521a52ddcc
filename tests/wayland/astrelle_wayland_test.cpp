// astrelle under Wayland compositors of the test's own, run as an ordinary
// user, checked from outside: the saver's run over every output of a
// headless sway, a window of its own there, the run on a compositor without
// layer shell, and what it cannot start with.
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "wayland_driver.h"

namespace {

const std::string astrelle = ASTRELLE_PROGRAM;
constexpr double promptly = 1.0;  // seconds a saver may take to go

// On the output, the swarm around its glow, in a picture of the output's size.
void expectSwarmOn(const waylanddriver::Compositor& compositor, const std::string& output, waylanddriver::Size size)
{
    const ColourCounts shown = waylanddriver::waitForSwarm(compositor, output);
    const waylanddriver::Picture picture = waylanddriver::picture(compositor, output);
    EXPECT_TRUE(showsTheSwarmAroundItsGlow(shown, static_cast<size_t>(size.width) * size.height))
        << output << ": " << shown.black << " black, " << shown.orangeRed << " orange-red, " << shown.blueGreen
        << " blue-green";
    EXPECT_EQ(picture.width, size.width) << output;
    EXPECT_EQ(picture.height, size.height) << output;
}

class OnSway : public ::testing::Test {
protected:
    void SetUp() override
    {
        sway = waylanddriver::startSway({{1024, 768}, {800, 600}});
        ASSERT_FALSE(sway.socket.empty()) << "sway did not start:\n" << x11driver::errors(sway.process);
        cache = sway.folder + "/cache";
    }
    void TearDown() override { waylanddriver::stop(sway); }

    waylanddriver::Compositor sway;
    std::string cache;
    x11driver::Program program;
};

// The saver's run: each output its own swarm, an output added while it runs
// one too, each output's count remembered; a key ends the run at once.
TEST_F(OnSway, CoversEveryOutputUntilAKey)
{
    program = waylanddriver::start(sway, astrelle, {"--cover"}, {"XDG_CACHE_HOME=" + cache});
    expectSwarmOn(sway, "HEADLESS-1", {1024, 768});
    expectSwarmOn(sway, "HEADLESS-2", {800, 600});
    const std::string added = waylanddriver::addOutput(sway, {640, 480});
    ASSERT_FALSE(added.empty());
    expectSwarmOn(sway, added, {640, 480});

    std::stringstream counts;
    counts << std::ifstream(cache + "/astrelle/counts").rdbuf();
    for (const char* size : {" 1024 768 ", " 800 600 "})  // COUNT WIDTH HEIGHT RENDERER...
        EXPECT_NE(counts.str().find(size), std::string::npos) << "no count for" << size << "in\n" << counts.str();

    ASSERT_TRUE(waylanddriver::typeKey(sway, "x"));
    const x11driver::End end = x11driver::waitForEnd(program, promptly);
    EXPECT_TRUE(end.ended && end.exitCode == 0) << end.exitCode << "\n" << x11driver::errors(program);
    EXPECT_TRUE(waylanddriver::running(sway, "astrelle").empty());
}

class Ends : public OnSway, public ::testing::WithParamInterface<bool> {};

// SIGTERM, as an idle daemon sends it, ends the run with every swarm; the
// compositor's end does too, quietly.
TEST_P(Ends, EveryProcessOfTheRun)
{
    const bool compositorGoes = GetParam();
    program = waylanddriver::start(sway, astrelle, {"--cover"}, {"XDG_CACHE_HOME=" + cache});
    expectSwarmOn(sway, "HEADLESS-1", {1024, 768});
    kill(compositorGoes ? sway.process.pid : waylanddriver::running(sway, "astrelle").front(), SIGTERM);
    const x11driver::End end = x11driver::waitForEnd(program, compositorGoes ? 5.0 : promptly);
    EXPECT_TRUE(end.ended);
    // By SIGTERM itself, which runuser reports as 128 + 15; quietly with status 0 when the compositor goes.
    EXPECT_EQ(end.exitCode, compositorGoes ? 0 : 128 + SIGTERM) << x11driver::errors(program);
    EXPECT_TRUE(!compositorGoes || x11driver::errors(program).empty()) << x11driver::errors(program);
    EXPECT_TRUE(x11driver::waitUntil([&] { return waylanddriver::running(sway, "astrelle").empty(); }, promptly));
}

INSTANTIATE_TEST_SUITE_P(OnSway, Ends, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "CompositorGoes" : "Sigterm"; });

// Started by hand it draws in a window of its own, which Escape ends.
TEST_F(OnSway, DrawsInAWindowOfItsOwnThatEscapeEnds)
{
    program = waylanddriver::start(sway, astrelle, {}, {"XDG_CACHE_HOME=" + cache});
    const ColourCounts shown = waylanddriver::waitForSwarm(sway, "HEADLESS-1");
    EXPECT_TRUE(showsTheSwarmAroundItsGlow(shown, 1024 * 768)) << x11driver::errors(program);
    ASSERT_TRUE(waylanddriver::typeKey(sway, "Escape"));
    const x11driver::End end = x11driver::waitForEnd(program, promptly);
    EXPECT_TRUE(end.ended && end.exitCode == 0) << x11driver::errors(program);
}

// Where the compositor offers no layer shell, one fullscreen window covers
// the output the compositor gives it, and --verbose says so.
TEST(OnWeston, CoversItsOutputWithAFullscreenWindow)
{
    waylanddriver::Compositor weston = waylanddriver::startWeston({800, 600});
    ASSERT_FALSE(weston.socket.empty()) << "weston did not start:\n" << x11driver::errors(weston.process);
    x11driver::Program program =
        waylanddriver::start(weston, astrelle, {"--cover", "--verbose"}, {"XDG_CACHE_HOME=" + weston.folder});
    expectSwarmOn(weston, "", {800, 600});
    EXPECT_EQ(x11driver::errors(program).rfind("astrelle: no layer shell here: one fullscreen window covers", 0), 0u)
        << x11driver::errors(program);
    kill(waylanddriver::running(weston, "astrelle").front(), SIGTERM);
    EXPECT_TRUE(x11driver::waitForEnd(program, promptly).ended);
    waylanddriver::stop(weston);
}

struct RefusalCase {
    const char* name;
    const char* compositor;  // "sway", or weston's shell
    std::vector<std::string> arguments;
    std::vector<std::string> environment;
    const char* says;  // the one line on standard error, as it begins
};

class Refuses : public ::testing::TestWithParam<RefusalCase> {};

// What it cannot run on it says in one line, and ends with status 1,
// leaving nothing running.
TEST_P(Refuses, SaysWhyInOneLineAndLeavesNothing)
{
    const RefusalCase& c = GetParam();
    waylanddriver::Compositor compositor = std::string(c.compositor) == "sway"
                                               ? waylanddriver::startSway({{640, 480}})
                                               : waylanddriver::startWeston({640, 480}, c.compositor);
    ASSERT_FALSE(compositor.socket.empty());
    if (std::string(c.name) == "OutputWithoutSize") {  // a scale that leaves it no pixel
        ASSERT_TRUE(waylanddriver::swaymsg(compositor, {"output", "HEADLESS-1", "scale", "2000"}));
    }
    x11driver::Program program = waylanddriver::start(compositor, astrelle, c.arguments, c.environment);
    const x11driver::End end = x11driver::waitForEnd(program, 20.0);
    const std::string said = x11driver::errors(program);
    EXPECT_EQ(end.exitCode, 1) << said;
    EXPECT_EQ(said.rfind(c.says, 0), 0u) << said;
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
    EXPECT_TRUE(waylanddriver::running(compositor, "astrelle").empty());
    waylanddriver::stop(compositor);
}

INSTANTIATE_TEST_SUITE_P(
    Starts, Refuses,
    ::testing::Values(
        RefusalCase{"NoCompositor", "sway", {"--wayland"}, {"WAYLAND_DISPLAY=astrelle-nowhere"},
                    "astrelle: Unable to connect to the Wayland compositor \"astrelle-nowhere\".\n"},
        RefusalCase{"NoWindowManager", "fullscreen-shell.so", {"--wayland"}, {},
                    "astrelle: The Wayland compositor offers no xdg_wm_base.\n"},
        RefusalCase{"NoEgl", "sway", {"--cover"}, {"__EGL_VENDOR_LIBRARY_FILENAMES=/nonexistent"},
                    "astrelle: Unable to reach OpenGL through EGL.\n"},
        RefusalCase{"NoCompatibilityProfile", "sway", {"--cover"}, {"MESA_GL_VERSION_OVERRIDE=3.3FC"},
                    "astrelle: The OpenGL of EGL has no compatibility profile: 3.3"},
        RefusalCase{"OutputWithoutSize", "sway", {"--cover"}, {}, "astrelle: Output HEADLESS-1 has no size.\n"}),
    [](const auto& info) { return std::string(info.param.name); });

// A compositor that finds fault with it: one line and status 1.
TEST(OnErringCompositor, SaysTheProtocolErrorInOneLine)
{
    char folder[] = "/tmp/astrelle-erring-XXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    const std::vector<std::string> session = {std::string("XDG_RUNTIME_DIR=") + folder, "WAYLAND_DISPLAY=erring"};
    x11driver::Program compositor = x11driver::start(ERRING_COMPOSITOR, {"erring"}, session);
    ASSERT_TRUE(x11driver::waitUntil([&] { return std::ifstream(std::string(folder) + "/erring.lock").good(); }));
    x11driver::Program program = x11driver::start(astrelle, {"--wayland"}, session);
    EXPECT_EQ(x11driver::waitForEnd(program, 5.0).exitCode, 1);
    EXPECT_EQ(x11driver::errors(program), "astrelle: Wayland protocol error 0 on wl_compositor.\n");
    kill(compositor.pid, SIGTERM);
    x11driver::waitForEnd(compositor);
    std::system((std::string("rm -rf ") + folder).c_str());
}

}  // namespace
