// The few effects of the screensaver's logic that reach the platform, as
// plain functions: each shell links its platform's definitions (Win32 or
// POSIX), the unit tests, the headless tools and the benches link their own.
#pragma once

#include <cstdint>

uint64_t readPerformanceCounter();
uint64_t readPerformanceFrequency();

// time(NULL): seconds since 1970, for the random seed.
int64_t readSecondsSince1970();

void setHighPriority();
void setNormalPriority();

// Loops "astr.wav" without waiting; nothing plays when the file is missing.
void playBackgroundSound();
void stopBackgroundSound();

// Shows the frame just drawn: swaps the buffers of the window's context.
void presentFrame();

// Tells whoever watches the run what the calibration found, once: text is
// "N particles in W x H" (a debugger on Windows, --verbose on Linux).
void announceParticleCount(const char* text);

// Shows the fatal-error report, then ends the process with status -1.
[[noreturn]] void reportFatalErrorAndExit(const char* message);
