// The screensaver's platform effects, on Win32.
#include <windows.h>
#include <mmsystem.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "../core/platform.h"
#include "main_window.h"

uint64_t readPerformanceCounter()
{
    LARGE_INTEGER counter{};
    QueryPerformanceCounter(&counter);
    return static_cast<uint64_t>(counter.QuadPart);
}

uint64_t readPerformanceFrequency()
{
    LARGE_INTEGER frequency{};  // stays 0 where there is no counter
    QueryPerformanceFrequency(&frequency);
    return static_cast<uint64_t>(frequency.QuadPart);
}

int64_t readSecondsSince1970()
{
    return static_cast<int64_t>(std::time(nullptr));
}

void setHighPriority()
{
    SetPriorityClass(GetCurrentProcess(), HIGH_PRIORITY_CLASS);
}

void setNormalPriority()
{
    SetPriorityClass(GetCurrentProcess(), NORMAL_PRIORITY_CLASS);
}

void playBackgroundSound()
{
    PlaySoundA("astr.wav", nullptr, SND_FILENAME | SND_LOOP | SND_NODEFAULT | SND_ASYNC);
}

void stopBackgroundSound()
{
    PlaySoundA(nullptr, nullptr, SND_PURGE);
}

// Tells a debugger (and a developer running under Wine with +debugstr).
void announceParticleCount(const char* text)
{
    char line[96];
    std::snprintf(line, sizeof line, "astr: %s\n", text);
    OutputDebugStringA(line);
}

void reportFatalErrorAndExit(const char* message)
{
    ShowCursor(TRUE);  // undoes the full-screen run's hidden cursor
    // A handle from the command line may name no window; the box must show all the same.
    MessageBoxA(IsWindow(mainWindow) ? mainWindow : nullptr, message, "astr-Error", MB_OK);
    PostQuitMessage(0);
    std::exit(-1);
}
