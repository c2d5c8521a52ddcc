// The few effects of the screensaver's logic that reach the platform. The
// programs link the Win32 definitions; the unit tests link recording doubles.
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

// Shows the fatal-error box over the main window, then ends the process with
// status -1.
[[noreturn]] void reportFatalErrorAndExit(const char* message);
