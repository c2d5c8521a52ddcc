// The few effects of the screensaver's logic that reach the platform, as
// plain functions: each shell links its platform's definitions (Win32 or
// POSIX), the unit tests and the headless tools link doubles.
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

// The swarm has its size: what the shell starts at that moment, before the
// frame clock restarts (the priority back to normal, and the background
// sound where the run plays one).
void calibrationEnded();

// Shows the fatal-error report, then ends the process with status -1.
[[noreturn]] void reportFatalErrorAndExit(const char* message);
