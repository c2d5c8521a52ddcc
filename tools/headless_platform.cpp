// The platform as the headless tools see it: a clock that stands still, no
// priorities, no sound, nothing to present or tell, and fatal errors on
// standard error.
#include <cstdio>
#include <cstdlib>

#include "../astr/core/platform.h"

uint64_t readPerformanceCounter()
{
    return 0;
}

uint64_t readPerformanceFrequency()
{
    return 1;
}

int64_t readSecondsSince1970()
{
    return 0;
}

void setHighPriority() {}

void setNormalPriority() {}

void playBackgroundSound() {}

void stopBackgroundSound() {}

void presentFrame() {}

void announceParticleCount(const char*) {}

void reportFatalErrorAndExit(const char* message)
{
    std::fprintf(stderr, "astr-Error: %s\n", message);
    std::exit(-1);
}
