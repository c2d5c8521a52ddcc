// astrelle: a swarm of particles pulled about by one wandering glow, as a
// screensaver for X11 hosts. The host starts it with --root on the window it
// names in $XSCREENSAVER_WINDOW, or with --window-id; started by hand it
// draws in a window of its own until q, Escape or the window's close.
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "../core/frame_clock.h"
#include "../core/particles.h"
#include "../core/platform.h"
#include "../core/run_mode.h"
#include "../core/settings.h"
#include "../render/frame_arrays.h"
#include "../render/frame_loop.h"
#include "../render/gl_state.h"
#include "count_memory.h"
#include "glx_context.h"
#include "main_loop.h"
#include "options.h"
#include "saver_window.h"

namespace {

void onContinue(int)
{
    noteResumed();
}

// What the Windows saver keeps in the registry, from the command line.
void applyOptions(const Options& options)
{
    runMode = Saver;
    settings = defaultSettings();
    settings.FixedSync = options.fixedSync ? 1 : 0;
    settings.glFinish = options.syncFrames ? 1 : 0;
    settings.Music = options.music ? 1 : 0;
    if (options.prec)
        calibrationFrames = precisionCalibrationFrames;
}

}  // namespace

int main(int argc, char** argv)
{
    Options options;
    std::string problem;
    switch (parseOptions(argc, argv, options, problem)) {
    case Parsed::run:
        break;
    case Parsed::help:
        std::fputs(usageText, stdout);
        return 0;
    case Parsed::version:
        std::printf("astrelle %s\n", ASTRELLE_VERSION);
        return 0;
    case Parsed::refused:
        std::fprintf(stderr, "astrelle: %s\n%s", problem.c_str(), usageText);
        return 1;
    }
    applyOptions(options);
    // The same squares as the Windows saver's immediate mode, in two draw
    // calls rather than some twenty calls a particle: a third less of the
    // processor's work on a frame.
    drawPicture = drawFrameFromArrays;
    // SIGTERM keeps its default action: hosts log a saver that dies by it as
    // ended normally. A continue after a stop is noted, so the pause is no step.
    struct sigaction resumed{};
    resumed.sa_handler = onContinue;
    sigaction(SIGCONT, &resumed, nullptr);

    openSaverWindow(options, chooseWindow(options, std::getenv("XSCREENSAVER_WINDOW")));
    createParticleBuffer();
    createGlContext();
    setupGlState(runStats.windowWidth, runStats.windowHeight);
    resizePicture(runStats.windowWidth, runStats.windowHeight);
    chooseStart(options);

    runMainLoop(options);

    if (playsBackgroundSound(runMode, settings))
        stopBackgroundSound();
    releaseGlContext();
    closeSaverWindow();
    std::free(particleBuffer);
    return 0;
}
