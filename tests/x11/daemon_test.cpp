// astrelle hosted by the real XScreenSaver daemon on an Xvfb of the test's
// own, as a Linux desktop runs it: the daemon, its commands and the saver run
// as an ordinary user (the daemon never starts savers as root), with a
// ~/.xscreensaver that selects astrelle alone and cycles it every few seconds.
#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "ordinary_user.h"
#include "x11_driver.h"

namespace fs = std::filesystem;

namespace {

constexpr double promptly = 1.0;   // seconds the saver may take to go once unblanked
constexpr double starting = 60.0;  // seconds to start anything, on a loaded machine
constexpr size_t cyclesSeen = 2;
constexpr int cycleSeconds = 5;  // the daemon allows 2 at least

using x11driver::now;

std::string readFile(const std::string& path)
{
    std::ifstream file(path);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

// The program under test: the build's, or another (an installed one) named
// by $ASTRELLE_PROGRAM.
std::string programUnderTest()
{
    const char* chosen = std::getenv("ASTRELLE_PROGRAM");
    return chosen && *chosen ? chosen : ASTRELLE_PROGRAM;
}

// Whether that process lives and is that user's; a zombie has died already.
bool livesAs(uid_t user, const std::string& pid)
{
    const std::string folder = "/proc/" + pid;
    struct stat owner;
    if (stat(folder.c_str(), &owner) != 0 || owner.st_uid != user)
        return false;
    const std::string status = readFile(folder + "/stat");
    const size_t state = status.rfind(')') + 2;
    return state < status.size() && status[state] != 'Z';
}

// The pids of that user's live processes whose command line holds the text.
std::vector<std::string> processesOf(uid_t user, const std::string& text)
{
    std::vector<std::string> found;
    for (const fs::directory_entry& entry : fs::directory_iterator("/proc")) {
        const std::string pid = entry.path().filename();
        if (pid.find_first_not_of("0123456789") == std::string::npos && livesAs(user, pid) &&
            readFile(entry.path() / "cmdline").find(text) != std::string::npos)
            found.push_back(pid);
    }
    return found;
}

std::vector<std::string> matches(const std::string& text, const std::string& pattern)
{
    std::vector<std::string> found;
    const std::regex expression(pattern);
    for (std::sregex_iterator m(text.begin(), text.end(), expression), end; m != end; ++m)
        found.push_back((*m)[1]);
    return found;
}

class XScreenSaverHost : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(fs::exists("/usr/bin/xscreensaver") &&
                    fs::exists("/usr/libexec/xscreensaver/xscreensaver-gl-visual"))
            << "XScreenSaver is missing: tools/install-deps.sh installs xscreensaver and xscreensaver-gl";
        ASSERT_NE(x11driver::startServer(640, 480, true), nullptr) << "no Xvfb";
        char folder[] = "/tmp/astrelle-daemon-XXXXXX";
        ASSERT_NE(mkdtemp(folder), nullptr);
        home = folder;
        log = home + "/xscreensaver.log";
        // The user owns the test's folder, which stands for its home.
        ASSERT_TRUE(x11driver::ordinaryUser(user)) << "could not add the user astrelle-test";
        ASSERT_EQ(chown(home.c_str(), user.uid, user.gid), 0);
        program = x11driver::reachableBy(user, programUnderTest(), home);
        ASSERT_FALSE(program.empty()) << user.name << " cannot run " << programUnderTest() << " nor a copy of it";
        std::ofstream(home + "/.xscreensaver")
            << "timeout: 0:30:00\ncycle: 0:00:0" << cycleSeconds
            << "\nlock: False\nfade: False\nunfade: False\nsplash: False\ndpmsEnabled: False\n"
               "mode: one\nselected: 0\nprograms: GL: \"Astrelle\" "
            << program << " --root \\n\n";
        ASSERT_EQ(chown((home + "/.xscreensaver").c_str(), user.uid, user.gid), 0);
    }

    void TearDown() override
    {
        if (home.empty())
            return;
        if (x11driver::running(daemon)) {
            run({"xscreensaver-command", "-exit"});
            if (!x11driver::waitUntil([&] { return !x11driver::running(daemon); }, 10.0))
                kill(daemon.pid, SIGTERM);  // runuser hands it on to the daemon
            x11driver::waitForEnd(daemon, 5.0);
        }
        for (const std::string& pid : matches(readFile(log), R"((?:pid|process) (\d+))"))
            if (livesAs(user.uid, pid))
                kill(std::stoi(pid), SIGKILL);
        if (HasFailure())
            std::cout << "the daemon's log:\n" << readFile(log) << "its standard error:\n" << x11driver::errors(daemon);
        fs::remove_all(home);
    }

    // A command of the daemon's user, in its home, on the test's display.
    x11driver::Program start(const std::vector<std::string>& command)
    {
        return x11driver::startAs(user, {"HOME=" + home, std::string("DISPLAY=") + std::getenv("DISPLAY")}, command);
    }

    x11driver::End run(const std::vector<std::string>& command)
    {
        x11driver::Program program = start(command);
        return x11driver::waitForEnd(program, starting);
    }

    bool waitForLog(const std::string& text)
    {
        return x11driver::waitUntil([&] { return readFile(log).find(text) != std::string::npos; }, starting);
    }

    x11driver::User user;
    std::string home, log, program;
    x11driver::Program daemon;
};

// Blanking starts astrelle on the daemon's window and the swarm shows on the
// screen; each cycle ends it with SIGTERM, which the daemon logs as a normal
// exit before it starts the next; unblanking makes it go within a second.
TEST_F(XScreenSaverHost, RunsCyclesAndEndsAstrelleCleanly)
{
    daemon = start({"xscreensaver", "--no-splash", "--log", log});
    const double begin = now();
    x11driver::waitUntil([&] { return run({"xscreensaver-command", "-version"}).exitCode == 0; }, starting, 0.2);
    ASSERT_EQ(run({"xscreensaver-command", "-activate"}).exitCode, 0);
    ASSERT_TRUE(waitForLog("forked \"" + program + " --root\" in pid")) << "the daemon did not start " << program;

    // The daemon logs the end it asked for just after the next start: the log
    // is read until each end asked for is logged, between two cycles.
    const std::string exited = R"(child pid (\d+) \(.*\) exited normally with SIGTERM)";
    std::vector<std::string> ended;
    std::set<std::string> killed;
    const double cyclesBegin = now();
    x11driver::waitUntil([&] {
        const std::string text = readFile(log);
        ended = matches(text, exited);
        const std::vector<std::string> kills = matches(text, R"(killing pid (\d+) \()");
        killed = {kills.begin(), kills.end()};
        return ended.size() >= cyclesSeen && killed == std::set<std::string>(ended.begin(), ended.end());
    }, starting + cyclesSeen * cycleSeconds);
    EXPECT_GE(ended.size(), cyclesSeen);
    EXPECT_EQ(killed, std::set<std::string>(ended.begin(), ended.end())) << "each end the daemon asked for";

    const double cycled = now();
    const ColourCounts shown = x11driver::waitForSwarm(DefaultRootWindow(x11driver::connection()), starting);
    std::cout << "astrelle started " << cyclesBegin - begin << " s after the daemon, cycled " << cyclesSeen
              << " times in " << cycled - cyclesBegin << " s, then showed the swarm in " << now() - cycled << " s\n";
    EXPECT_TRUE(showsTheSwarmAroundItsGlow(shown, 640 * 480))
        << shown.black << " black, " << shown.orangeRed << " orange-red, " << shown.blueGreen << " blue-green";

    ASSERT_FALSE(processesOf(user.uid, program).empty()) << "astrelle is not among " << user.name << "'s processes";
    const double unblanking = now();
    ASSERT_EQ(run({"xscreensaver-command", "-deactivate"}).exitCode, 0);
    const double asked = now() - unblanking;
    x11driver::waitUntil([&] { return processesOf(user.uid, program).empty(); },
                         asked + promptly - (now() - unblanking), 0.01);
    EXPECT_TRUE(processesOf(user.uid, program).empty()) << "astrelle still runs " << promptly << " s after unblanking";
    std::cout << "astrelle was gone " << now() - unblanking << " s after the command to unblank (which took " << asked
              << " s), after " << ended.size() << " cycles\n";

    // This daemon logs a saver that ended otherwise as having "exited
    // abnormally"; other versions say "crashed".
    const std::string text = readFile(log);
    for (const char* alarm : {"crashed", "exited abnormally", "did not die"})
        EXPECT_EQ(text.find(alarm), std::string::npos) << "the log says \"" << alarm << "\"";
}

}  // namespace
