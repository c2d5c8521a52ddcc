// astrelle under Wayland compositors of the test's own, run as an ordinary
// user, checked from outside: the saver's run over every output of a
// headless sway, a window of its own there, the run on a compositor without
// layer shell, and what it cannot start with.
#include <gtest/gtest.h>
#include <signal.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "wayland_driver.h"

namespace {

const std::string astrelle = ASTRELLE_PROGRAM;
constexpr double promptly = 1.0;  // seconds a saver may take to go

// On the output, the swarm around its glow, in a picture of the output's size.
void expectSwarmOn(const wd::Compositor& compositor, const std::string& output, wd::Size size)
{
    const ColourCounts shown = wd::waitForSwarm(compositor, output);
    const wd::Picture picture = wd::picture(compositor, output);
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
        sway = wd::startSway({{1024, 768}, {800, 600}});
        ASSERT_FALSE(sway.socket.empty()) << "sway did not start:\n" << xd::errors(sway.process);
        cache = sway.folder + "/cache";
    }
    void TearDown() override { wd::stop(sway); }

    wd::Compositor sway;
    std::string cache;
    xd::Program program;
};

// The saver's run: each output its own swarm, an output added while it runs
// one too, each output's count remembered; a key ends the run at once.
TEST_F(OnSway, CoversEveryOutputUntilAKey)
{
    program = wd::start(sway, astrelle, {"--cover"}, {"XDG_CACHE_HOME=" + cache});
    expectSwarmOn(sway, "HEADLESS-1", {1024, 768});
    expectSwarmOn(sway, "HEADLESS-2", {800, 600});
    const std::string added = wd::addOutput(sway, {640, 480});
    ASSERT_FALSE(added.empty());
    expectSwarmOn(sway, added, {640, 480});

    std::stringstream counts;
    counts << std::ifstream(cache + "/astrelle/counts").rdbuf();
    for (const char* size : {" 1024 768 ", " 800 600 "})  // COUNT WIDTH HEIGHT RENDERER...
        EXPECT_NE(counts.str().find(size), std::string::npos) << "no count for" << size << "in\n" << counts.str();

    ASSERT_TRUE(wd::typeKey(sway, "x"));
    const xd::End end = xd::waitForEnd(program, promptly);
    EXPECT_TRUE(end.ended && end.exitCode == 0) << end.exitCode << "\n" << xd::errors(program);
    EXPECT_TRUE(wd::running(sway, "astrelle").empty());
}

// SIGTERM, as an idle daemon sends it, ends the run with every swarm.
TEST_F(OnSway, EndsEverySwarmOnSigterm)
{
    program = wd::start(sway, astrelle, {"--cover"}, {"XDG_CACHE_HOME=" + cache});
    expectSwarmOn(sway, "HEADLESS-1", {1024, 768});
    kill(wd::running(sway, "astrelle").front(), SIGTERM);
    EXPECT_TRUE(xd::waitForEnd(program, promptly).ended);
    EXPECT_TRUE(xd::waitUntil([&] { return wd::running(sway, "astrelle").empty(); }, promptly));
}

// Started by hand it draws in a window of its own, which Escape ends.
TEST_F(OnSway, DrawsInAWindowOfItsOwnThatEscapeEnds)
{
    program = wd::start(sway, astrelle, {}, {"XDG_CACHE_HOME=" + cache});
    const ColourCounts shown = wd::waitForSwarm(sway, "HEADLESS-1");
    EXPECT_TRUE(showsTheSwarmAroundItsGlow(shown, 1024 * 768)) << xd::errors(program);
    ASSERT_TRUE(wd::typeKey(sway, "Escape"));
    const xd::End end = xd::waitForEnd(program, promptly);
    EXPECT_TRUE(end.ended && end.exitCode == 0) << xd::errors(program);
}

// Where the compositor offers no layer shell, one fullscreen window covers
// the output the compositor gives it, and --verbose says so.
TEST(OnWeston, CoversItsOutputWithAFullscreenWindow)
{
    wd::Compositor weston = wd::startWeston({800, 600});
    ASSERT_FALSE(weston.socket.empty()) << "weston did not start:\n" << xd::errors(weston.process);
    xd::Program program = wd::start(weston, astrelle, {"--cover", "--verbose"}, {"XDG_CACHE_HOME=" + weston.folder});
    expectSwarmOn(weston, "", {800, 600});
    EXPECT_EQ(xd::errors(program).rfind("astrelle: no layer shell here: one fullscreen window covers", 0), 0u)
        << xd::errors(program);
    kill(wd::running(weston, "astrelle").front(), SIGTERM);
    EXPECT_TRUE(xd::waitForEnd(program, promptly).ended);
    wd::stop(weston);
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
    wd::Compositor compositor = std::string(c.compositor) == "sway" ? wd::startSway({{640, 480}})
                                                                    : wd::startWeston({640, 480}, c.compositor);
    ASSERT_FALSE(compositor.socket.empty());
    if (std::string(c.name) == "OutputWithoutSize") {  // a scale that leaves it no pixel
        ASSERT_TRUE(wd::swaymsg(compositor, {"output", "HEADLESS-1", "scale", "2000"}));
    }
    xd::Program program = wd::start(compositor, astrelle, c.arguments, c.environment);
    const xd::End end = xd::waitForEnd(program, 20.0);
    const std::string said = xd::errors(program);
    EXPECT_EQ(end.exitCode, 1) << said;
    EXPECT_EQ(said.rfind(c.says, 0), 0u) << said;
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
    EXPECT_TRUE(wd::running(compositor, "astrelle").empty());
    wd::stop(compositor);
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

// The compositor gone, every process of the run ends quietly.
TEST_F(OnSway, EndsQuietlyWhenTheCompositorGoes)
{
    program = wd::start(sway, astrelle, {"--cover"}, {"XDG_CACHE_HOME=" + cache});
    expectSwarmOn(sway, "HEADLESS-1", {1024, 768});
    kill(sway.process.pid, SIGTERM);
    const xd::End end = xd::waitForEnd(program, 5.0);
    EXPECT_TRUE(end.ended && end.exitCode == 0) << xd::errors(program);
    EXPECT_EQ(xd::errors(program), "");
    EXPECT_TRUE(xd::waitUntil([&] { return wd::running(sway, "astrelle").empty(); }, promptly));
}

}  // namespace
