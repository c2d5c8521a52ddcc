// The screensaver's platform effects on POSIX, for every Linux host; each
// host presents its frames with its own GL context.
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>

#include "../core/platform.h"
#include "background_sound.h"
#include "hosts.h"
#include "options.h"
#include "start_count.h"

namespace {

constexpr uint64_t ticksPerSecond = 1000000;  // microseconds: the low word wraps after 71 minutes

// Installed as libexec/xscreensaver/astrelle beside share/astrelle/astr.wav,
// in the build folder as in any prefix.
std::string soundFilePath()
{
    char program[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", program, sizeof program - 1);
    if (length <= 0)
        return "astr.wav";
    std::string path(program, static_cast<size_t>(length));
    return path.substr(0, path.rfind('/') + 1) + "../../share/astrelle/astr.wav";
}

}  // namespace

uint64_t readPerformanceCounter()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<uint64_t>(now.tv_sec) * ticksPerSecond + static_cast<uint64_t>(now.tv_nsec) / 1000;
}

uint64_t readPerformanceFrequency()
{
    return ticksPerSecond;
}

int64_t readSecondsSince1970()
{
    return static_cast<int64_t>(std::time(nullptr));
}

// An ordinary user cannot raise a process's priority, and the host has
// chosen the saver's niceness: both stay as they are.
void setHighPriority() {}

void setNormalPriority() {}

void playBackgroundSound()
{
    startSoundLoop(soundFilePath().c_str());
}

void stopBackgroundSound()
{
    stopSoundLoop();
}

void (*presentHostFrame)();

void presentFrame()
{
    presentHostFrame();
}

// With --verbose: "astrelle: N particles in W x H (how)".
void announceParticleCount(const char* text)
{
    if (options.verbose)
        std::fprintf(stderr, "astrelle: %s (%s)\n", text, startCountSource());
}

// One line on standard error, where hosts log what their savers say.
void reportFatalErrorAndExit(const char* message)
{
    std::string line = "astrelle: ";
    for (const char* c = message; *c; ++c)
        if (*c != '\r')
            line += *c == '\n' ? ' ' : *c;
    std::fprintf(stderr, "%s\n", line.c_str());
    std::_Exit(1);  // no destructors: the sound's thread may still be running
}
