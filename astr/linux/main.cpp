// astrelle: a swarm of particles pulled about by one wandering glow, as a
// screensaver for Linux hosts. An X11 host starts it with --root on the
// window it names in $XSCREENSAVER_WINDOW, or with --window-id; an idle
// daemon of a Wayland desktop with --cover, which covers every output.
// Started by hand it draws in a window of its own until q, Escape or the
// window's close.
#include <sys/statvfs.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "../core/particles.h"
#include "../core/run_mode.h"
#include "../render/frame_arrays.h"
#include "count_file.h"
#include "fps_overlay.h"
#include "hosts.h"
#include "options.h"
#include "pauses.h"
#include "start_count.h"

namespace {

// Room a GL driver's own disk cache needs for the index it maps into memory.
constexpr unsigned long long cacheRoomBytes = 16ull << 20;

// GL drivers keep a shader cache of their own in the user's cache folder
// and map its index into memory: on a filesystem with no room left, the
// first write to it kills the process with SIGBUS. Without room, that
// cache is turned off for this process, before any context is made.
void spareAFullCache()
{
    std::string folder = countFilePath(std::getenv("XDG_CACHE_HOME"), std::getenv("HOME"));
    struct statvfs room;
    while (!folder.empty() && statvfs(folder.c_str(), &room) != 0)
        folder = folder.substr(0, folder.rfind('/'));
    if (folder.empty() || static_cast<unsigned long long>(room.f_bavail) * room.f_frsize >= cacheRoomBytes)
        return;
    setenv("MESA_SHADER_CACHE_DISABLE", "true", 1);
    if (options.verbose)
        std::fprintf(stderr, "astrelle: %s has no room left: GL's shader cache is off\n", folder.c_str());
}

}  // namespace

SaverHooks astrelleHooks(EndingInput endingInput)
{
    SaverHooks hooks;
    hooks.endingInput = endingInput;
    // The same squares as the Windows saver's immediate mode, in two draw
    // calls rather than some twenty calls a particle.
    hooks.frameDrawing = drawFrameFromArrays;
    hooks.chooseCount = chooseStartCount;
    hooks.countFound = keepCount;
    if (options.fps)
        hooks.overlay = drawFpsOverlay;
    return hooks;
}

int main(int argc, char** argv)
{
    std::string problem;
    switch (parseOptions(argc, argv, options, problem)) {
    case Parsed::run:
        break;
    case Parsed::help:
        std::fputs(usageText().c_str(), stdout);
        return 0;
    case Parsed::version:
        std::printf("astrelle %s\n", ASTRELLE_VERSION);
        return 0;
    case Parsed::refused:
        std::fprintf(stderr, "astrelle: %s\n%s", problem.c_str(), usageText().c_str());
        return 1;
    }
    // What the Windows saver keeps in the registry comes from the command line.
    runMode = Saver;
    applySettings(options);
    if (options.preciseCalibration)
        calibrationFrames = precisionCalibrationFrames;
    spareAFullCache();
    // Hosts log a saver that dies by SIGTERM as ended normally: it keeps its
    // default action (a run of several savers ends them, then dies by it).
    watchForPauses();
    // X11 where an X11 host asks for it or the switch does; else the Wayland
    // compositor where one answers.
    const bool x11Host = options.root || options.windowId != 0 || std::getenv("XSCREENSAVER_WINDOW");
    if (options.x11 || (!options.wayland && !options.cover && (x11Host || !waylandAnswers())))
        return runX11Host();
    return runWaylandHost();
}
