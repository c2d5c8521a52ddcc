// The Wayland driver does what the hosts' tests rely on: sway's outputs are
// pictured at their own sizes with a client running; one added while it
// runs has the size asked for and goes again when removed; weston's one
// output is pictured at its size.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "wayland_driver.h"

namespace {

void expectPicturedAtItsSize(const wd::Compositor& compositor, const wd::Output& output)
{
    const wd::Picture shown = wd::picture(compositor, output.name);
    EXPECT_EQ(shown.width, output.width) << output.name;
    EXPECT_EQ(shown.height, output.height) << output.name;
    EXPECT_EQ(shown.pixels.size(), static_cast<size_t>(output.width) * output.height) << output.name;
}

TEST(WaylandDriver, SwayOutputsArePicturedAddedAndRemoved)
{
    for (const char* tool : {"/usr/bin/sway", "/usr/bin/grim", "/usr/bin/Xvfb"})
        if (!std::filesystem::exists(tool))
            GTEST_SKIP() << tool << " is missing: tools/install-deps.sh installs sway, grim, wtype and xvfb";
    wd::Compositor sway = wd::startSway({{1024, 768}, {800, 600}});
    ASSERT_FALSE(sway.socket.empty()) << "sway did not start:\n" << xd::errors(sway.process);
    xd::Program client;
    if (std::filesystem::exists("/usr/bin/weston-simple-shm"))
        client = wd::start(sway, "/usr/bin/weston-simple-shm", {});

    const std::vector<wd::Output> outputs = wd::outputs(sway);
    ASSERT_EQ(outputs.size(), 2u);
    for (const wd::Output& output : outputs)
        expectPicturedAtItsSize(sway, output);

    const std::string added = wd::addOutput(sway, {640, 480});
    ASSERT_FALSE(added.empty()) << "no output of 640 x 480 came";
    expectPicturedAtItsSize(sway, {added, 0, 0, 640, 480});
    EXPECT_TRUE(wd::removeOutput(sway, added)) << added << " is still there";
    if (client.pid) {
        EXPECT_TRUE(xd::running(client)) << "the client ended:\n" << xd::errors(client);
    }
}

TEST(WaylandDriver, WestonsOutputIsPictured)
{
    if (!std::filesystem::exists("/usr/bin/weston"))
        GTEST_SKIP() << "weston is missing: tools/install-deps.sh installs it";
    wd::Compositor weston = wd::startWeston({640, 400});
    ASSERT_FALSE(weston.socket.empty()) << "weston did not start:\n" << xd::errors(weston.process);
    expectPicturedAtItsSize(weston, wd::outputs(weston).front());
}

}  // namespace
