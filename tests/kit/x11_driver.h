// Drives astrelle from outside, as an X11 host would: an X server of the
// test's own, windows to draw on, the program started with given switches
// and environment, its screen read back, signals sent, its end collected.
#pragma once

#include <X11/Xlib.h>
#include <sys/types.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "swarm_colours.h"

namespace x11driver {

constexpr double defaultTimeout = 20.0;  // seconds

// Starts an Xvfb of width x height on a free display number, sets DISPLAY to
// it and answers the connection to it; the server ends with the test program.
// Later calls answer the same connection. With anyUser, clients of every
// user may connect (-ac), as a host run by another user needs.
Display* startServer(int width = 1024, int height = 768, bool anyUser = false);
Display* connection();
// The server's process, for what it costs; 0 before startServer.
pid_t serverProcess();

struct Program {
    pid_t pid = 0;
    std::string errorsFile;  // its standard error
    std::string outputFile;  // its standard output
};

// Starts the program with those arguments; environment entries NAME=VALUE
// are added to the test's own (NAME= removes one).
Program start(const std::string& path, const std::vector<std::string>& arguments,
              const std::vector<std::string>& environment = {});

struct End {
    bool ended = false;   // false: still running when the time was up (then killed)
    int exitCode = -1;    // when it exited
    int signal = 0;       // when a signal ended it
    double seconds = 0;   // from the call to the end
};

End waitForEnd(Program& program, double timeout = defaultTimeout);
bool running(const Program& program);
std::string errors(const Program& program);
std::string output(const Program& program);

// A mapped top-level window of the test's own, with the default visual.
Window makeWindow(int width, int height);
void resize(Window window, int width, int height);
// The top-level window with that name, once it is mapped; 0 if none in time.
Window waitForWindowNamed(const char* name, double timeout = defaultTimeout);

// The window's pixels, top row first, as 0xRRGGBB; empty when it is gone.
std::vector<uint32_t> pixels(Window window);

// Looks at the window until it shows orange-red particles around the
// blue-green glow on black, at most that long; answers what it saw last.
ColourCounts waitForSwarm(Window window, double timeout = defaultTimeout);

// A key press and release, as the keyboard would send them to the window.
void pressKey(Window window, unsigned long keysym);
// The window manager's close, as a window manager asks for it.
void askToClose(Window window);
// A ConfigureNotify of that size, as any client can send one.
void sendConfigureNotify(Window window, int width, int height);

void sleepSeconds(double seconds);
// Seconds on a clock that only goes forward.
double now();
// Asks done at once and then every poll seconds, until it answers true (then
// true) or timeout seconds have passed (then false).
bool waitUntil(const std::function<bool()>& done, double timeout = defaultTimeout, double poll = 0.05);

}  // namespace x11driver
