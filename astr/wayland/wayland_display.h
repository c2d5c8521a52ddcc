// The connection to the Wayland compositor: the globals astrelle uses, the
// outputs as they come and go, and the seat's keys and pointer handed to
// the saver.
#pragma once

#include <wayland-client.h>

#include <cstdint>
#include <string>
#include <vector>

#include "wlr-layer-shell-unstable-v1-client-protocol.h"
#include "xdg-shell-client-protocol.h"

extern wl_display* waylandDisplay;
extern wl_compositor* compositor;
extern xdg_wm_base* windowManager;
extern zwlr_layer_shell_v1* layerShell;  // null where the compositor has none

struct WaylandOutput {
    wl_output* output;
    uint32_t global;  // its name in the registry, the same for every client of the compositor
    std::string name;
};
extern std::vector<WaylandOutput> outputs;

// Set when the saver answered that input ends the run.
extern bool inputEndsRun;
// Whether the pointer's appearance on the saver's surfaces is hidden.
extern bool hidePointer;

// Connects to $WAYLAND_DISPLAY and learns its globals and outputs, keeping
// nothing of an earlier connection; false when no compositor answers there.
bool connectToCompositor();

// Handles the events that have come, waiting up to timeoutMs for some (-1:
// as long as it takes). Here and on connecting, a compositor gone ends the
// process quietly, as an X server gone does; a protocol error ends it with
// one line.
void dispatchEvents(int timeoutMs);
