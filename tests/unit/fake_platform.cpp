#include "fake_platform.h"

#include "../../astr/core/platform.h"

FakePlatform fakePlatform;

uint64_t readPerformanceCounter()
{
    const uint64_t now = fakePlatform.counter;
    fakePlatform.counter += fakePlatform.counterStep;
    fakePlatform.effects.push_back("clock");
    return now;
}

uint64_t readPerformanceFrequency()
{
    return fakePlatform.frequency;
}

int64_t readSecondsSince1970()
{
    return fakePlatform.secondsSince1970;
}

void setHighPriority()
{
    fakePlatform.effects.push_back("priority high");
}

void setNormalPriority()
{
    fakePlatform.effects.push_back("priority normal");
}

void playBackgroundSound()
{
    fakePlatform.effects.push_back("sound");
}

void stopBackgroundSound()
{
    fakePlatform.effects.push_back("sound stopped");
}

void presentFrame()
{
    fakePlatform.effects.push_back("present");
}

void announceParticleCount(const char* text)
{
    fakePlatform.effects.push_back(std::string("announce ") + text);
}

void reportFatalErrorAndExit(const char* message)
{
    throw FatalExit{message};
}
