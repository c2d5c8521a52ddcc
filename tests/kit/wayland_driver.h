// Drives a program from outside as a Wayland desktop hosts it: a headless
// compositor of the test's own run as the ordinary user, outputs added and
// sized while it runs, the program started as that user, an output's
// picture read back, keys typed (through wtype's virtual keyboard).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "ordinary_user.h"
#include "swarm_colours.h"
#include "x11_driver.h"

namespace wd {

struct Size {
    int width = 0, height = 0;
};

struct Output {
    std::string name;
    int x = 0, y = 0, width = 0, height = 0;  // in the compositor's layout
};

struct Compositor {
    bool weston = false;
    xd::User user;
    std::string folder;         // the user's: the runtime folder, copies of programs, pictures
    std::string runtimeFolder;  // its XDG_RUNTIME_DIR
    std::string socket;         // its WAYLAND_DISPLAY; empty when it did not start
    std::string ipcSocket;      // sway's SWAYSOCK
    Size size;                  // weston's one output
    xd::Program process;
};

// Starts sway with outputs of those sizes, named HEADLESS-1, HEADLESS-2, ...
// and laid out left to right. It ends, with every process started with its
// runtime folder, when stop is called or the test program ends.
Compositor startSway(const std::vector<Size>& outputs);
// weston on its headless backend, drawing with pixman: one output, no
// layer shell, no seat; with its debug protocol, for its screenshots.
Compositor startWeston(Size output, const std::string& shell = "desktop-shell.so");
void stop(Compositor& compositor);

// sway's outputs as it lays them out now; weston's one output, "headless".
std::vector<Output> outputs(const Compositor& compositor);
// The new output's name, once it has that size; empty if it has not in time.
std::string addOutput(const Compositor& compositor, Size size);
// sway's own command, with those words.
bool swaymsg(const Compositor& compositor, const std::vector<std::string>& words);
// The processes started in the compositor's session that run the program
// of that name, the first started (lowest) first.
std::vector<pid_t> running(const Compositor& compositor, const std::string& program);

// Starts the program as the compositor's user, with WAYLAND_DISPLAY and
// XDG_RUNTIME_DIR set and DISPLAY removed, then entries NAME=VALUE added to
// its environment (NAME= removes one). A program the user cannot reach is
// run from a copy (see xd::reachableBy).
xd::Program start(const Compositor& compositor, const std::string& path, const std::vector<std::string>& arguments,
                  const std::vector<std::string>& environment = {});

struct Picture {
    int width = 0, height = 0;
    std::vector<uint32_t> pixels;  // 0xRRGGBB, top row first; empty when there was none
};

// What the output shows (sway: grim; weston: its only output, through its
// screenshooter).
Picture picture(const Compositor& compositor, const std::string& output = "");
// Looks at the output until it shows orange-red particles around the
// blue-green glow on black, at most that long; answers what it saw last.
ColourCounts waitForSwarm(const Compositor& compositor, const std::string& output,
                          double timeout = xd::defaultTimeout);

// A key press and release through wtype, by its XKB name ("Escape", "a").
bool typeKey(const Compositor& compositor, const std::string& key);
}  // namespace wd
