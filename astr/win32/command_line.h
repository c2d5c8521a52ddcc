// The screensaver's command line: the host's switches turned into a run mode
// and the window handle they carry.
#pragma once

#include <cstddef>
#include <cstdint>

#include "../core/run_mode.h"

// The index just past the first occurrence of pattern in text, or 0 when
// there is none. Every pattern is at least three characters long, so a found
// switch never answers 0.
size_t findSwitch(const char* text, const char* pattern);

// The decimal number at the start of text as atoi reads it (blanks, a sign,
// digits), reduced modulo 2^32 and taken as a signed 32-bit handle, so that
// no number overflows and the platform's sign-extension gives the handle.
int32_t windowHandleNumber(const char* text);

// Lower-cases line in place and answers the run mode it asks for. Sets
// windowHandle to the number a /c or /p switch carries (0 for none) and
// calibrationFrames to 2048 for the calibration run.
RunMode parseCommandLine(char* line, int32_t& windowHandle);
