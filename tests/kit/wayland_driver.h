// Drives a program from outside as a Wayland desktop hosts it: a compositor
// of the test's own run as the ordinary user, outputs added, sized and
// removed while it runs, the program started as that user, an output's
// picture read back, keys typed and the pointer moved and pressed.
//
// sway runs on its X11 backend by default, each output a window of an Xvfb
// of the kit's own: there (in sway 1.7) an output can be removed, as closing
// its window does, and the seat has a pointer. On the headless backend
// neither is possible; keys come from wtype's own virtual keyboard on both.
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

enum class Kind { swayOnX11, swayHeadless, weston };

struct Compositor {
    Kind kind = Kind::swayOnX11;
    xd::User user;
    std::string folder;         // the user's: the runtime folder, copies of programs, pictures
    std::string runtimeFolder;  // its XDG_RUNTIME_DIR
    std::string socket;         // its WAYLAND_DISPLAY; empty when it did not start
    std::string ipcSocket;      // sway's SWAYSOCK
    Size size;                  // weston's one output
    xd::Program process;
};

// Starts sway with outputs of those sizes, named in that order (X11-1,
// X11-2, ... or HEADLESS-1, ...) and laid out left to right. It ends, with
// every process started with its runtime folder, when stop is called or the
// test program ends.
Compositor startSway(const std::vector<Size>& outputs, Kind kind = Kind::swayOnX11);
// weston on its headless backend, drawing with pixman: one output, no
// layer shell, no seat; with its debug protocol, for its screenshots.
Compositor startWeston(Size output);
void stop(Compositor& compositor);

// sway's outputs as it lays them out now; weston's one output, "headless".
std::vector<Output> outputs(const Compositor& compositor);
// The new output's name, once it has that size; empty if it has not in time.
std::string addOutput(const Compositor& compositor, Size size);
// Whether the output is gone in time; only sway on X11 can remove one.
bool removeOutput(const Compositor& compositor, const std::string& name);

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
// The pointer to (x, y) of that output, and a left-button click (sway on X11).
bool movePointer(const Compositor& compositor, const std::string& output, int x, int y);
bool click(const Compositor& compositor);

}  // namespace wd
