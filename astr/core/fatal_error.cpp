#include "fatal_error.h"

#include <cstdarg>
#include <cstdio>

#include "platform.h"

char fatalMessage[fatalMessageCapacity];

void FatalError(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    std::vsnprintf(fatalMessage, sizeof fatalMessage, format, args);
    va_end(args);
    fatalMessage[sizeof fatalMessage - 1] = '\0';  // whatever the C runtime did at the cut
    reportFatalErrorAndExit(fatalMessage);
}
