// Drives a program from outside as a Wayland desktop hosts it: a headless
// compositor of the test's own, run as the ordinary user, outputs added
// while it runs, the program started as that user, an output's picture
// read back, keys typed through wtype's virtual keyboard.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "ordinary_user.h"
#include "swarm_colours.h"
#include "x11_driver.h"

namespace waylanddriver {

struct Compositor {
    x11driver::User user;
    std::string folder;         // the user's: its runtime folder, copies of programs, pictures
    std::string runtimeFolder;  // its XDG_RUNTIME_DIR
    std::string socket;         // its WAYLAND_DISPLAY; empty when it did not start
    std::string ipcSocket;      // sway's SWAYSOCK
    bool weston = false;
    int outputs = 0;            // sway's, named HEADLESS-1, HEADLESS-2, ...
    x11driver::Program process;
};

struct Size {
    int width, height;
};

// sway with outputs of those sizes, laid out left to right.
Compositor startSway(const std::vector<Size>& sizes);
// weston on its headless backend drawing with pixman, with that shell: one
// output, no layer shell, no seat; its debug protocol on for screenshots.
Compositor startWeston(Size size, const std::string& shell = "desktop-shell.so");
// Ends it and every process started in its session, and removes its folder.
void stop(Compositor& compositor);

bool swaymsg(const Compositor& compositor, const std::vector<std::string>& words);
// The name of a new output of that size; empty if it did not come.
std::string addOutput(Compositor& compositor, Size size);

// Starts the program as the compositor's user, with WAYLAND_DISPLAY and
// XDG_RUNTIME_DIR set and DISPLAY removed, then the entries NAME=VALUE
// (NAME= removes one). A program the user cannot reach runs from a copy.
x11driver::Program start(const Compositor& compositor, const std::string& path,
                         const std::vector<std::string>& arguments, const std::vector<std::string>& environment = {});
// The processes of its session that run the program of that name, lowest first.
std::vector<pid_t> running(const Compositor& compositor, const std::string& program);

struct Picture {
    int width = 0, height = 0;
    std::vector<uint32_t> pixels;  // 0xRRGGBB, top row first; empty when there was none
};

// What an output of sway shows (grim), or weston's one output.
Picture picture(const Compositor& compositor, const std::string& output = "");
// Looks at the output until it shows the swarm around its glow on black,
// at most that long; answers what it saw last.
ColourCounts waitForSwarm(const Compositor& compositor, const std::string& output,
                          double timeout = x11driver::defaultTimeout);

// A key pressed and released, by its XKB name ("Escape", "x").
bool typeKey(const Compositor& compositor, const std::string& key);

}  // namespace waylanddriver
