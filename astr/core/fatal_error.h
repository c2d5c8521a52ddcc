// The screensaver's one way out of a failure it cannot run past.
#pragma once

#include <cstddef>

constexpr size_t fatalMessageCapacity = 1024;

// The text of the report being shown; a longer text is cut to fit.
extern char fatalMessage[fatalMessageCapacity];

// Formats the message printf-style, shows it and ends the process.
[[noreturn]] void FatalError(const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;
