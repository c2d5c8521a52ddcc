// The Wayland host: a window of its own, or with --cover a saver for each
// output (saver_children.h), covering it with a layer surface and a swarm
// sized to it; the outputs followed as they come and go.
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "../core/fatal_error.h"
#include "../core/settings.h"
#include "../linux/hosts.h"
#include "../linux/options.h"
#include "../linux/saver_children.h"
#include "wayland_surface.h"

namespace {

// A saver for one output, on a connection of its own.
void coverOutput(uint32_t global, bool withSound, int ready)
{
    wl_display_disconnect(waylandDisplay);  // the first process's, which only it uses
    if (!connectToCompositor())
        _exit(0);  // the compositor has gone
    settings.Music = withSound ? settings.Music : 0;  // one sound for the run
    for (const WaylandOutput& output : outputs)
        if (output.global == global && makeLayerSurface(output)) {
            write(ready, "", 1);
            close(ready);
            std::exit(runSaverOnSurface(EndingInput::anything) ? screenGoneStatus : 0);
        }
}

int coverEveryOutput()
{
    if (!layerShell) {
        if (options.verbose)
            std::fprintf(stderr, "astrelle: no layer shell here: one fullscreen window covers the output given it\n");
        makeWindow(true);
        runSaverOnSurface(EndingInput::anything);
        return 0;
    }
    const int signals = watchSavers();
    for (;;) {
        for (const WaylandOutput& output : outputs)
            startSaverFor(output.global, coverOutput);
        endSaversOfScreensGone([](uint32_t global) {
            return std::any_of(outputs.begin(), outputs.end(), [&](const WaylandOutput& o) { return o.global == global; });
        });
        pollfd waiting[] = {{wl_display_get_fd(waylandDisplay), POLLIN, 0}, {signals, POLLIN, 0}};
        wl_display_flush(waylandDisplay);
        poll(waiting, 2, -1);
        if (waiting[0].revents)
            dispatchEvents(0);
        takeSaverEnds();
    }
}

}  // namespace

bool waylandAnswers()
{
    const char* named = std::getenv("WAYLAND_DISPLAY");
    return named && *named && connectToCompositor();
}

int runWaylandHost()
{
    if (!waylandDisplay && !connectToCompositor()) {
        const char* name = std::getenv("WAYLAND_DISPLAY");
        FatalError("Unable to connect to the Wayland compositor \"%s\".", name && *name ? name : "wayland-0");
    }
    if (!compositor || !windowManager)
        FatalError("The Wayland compositor offers no xdg_wm_base.");
    if (options.cover)
        return coverEveryOutput();
    makeWindow(false);
    runSaverOnSurface(EndingInput::escapeOrQ);
    return 0;
}
