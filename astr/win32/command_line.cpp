#include "command_line.h"

#include <cctype>
#include <cstring>

#include "../core/particles.h"

namespace {

enum class Carries { nothing, window, precision };

struct Switch {
    const char* pattern;
    RunMode mode;
    Carries carries;
};

// Tested in this order; the first found decides. Every switch but ".exe"
// starts with a blank, so it counts only where a blank precedes it.
constexpr Switch switches[] = {
    {" -init", Init, Carries::nothing},
    {" -prec", Saver, Carries::precision},
    {".exe", Saver, Carries::nothing},  // started under an .exe name
    {" /s", Saver, Carries::nothing},
    {" /c ", Config, Carries::window},
    {" /c:", Config, Carries::window},
    {" -c:", Config, Carries::window},
    {" /c", Config, Carries::nothing},
    {" /p ", Preview, Carries::window},
    {" -p:", Preview, Carries::window},
};

}  // namespace

size_t findSwitch(const char* text, const char* pattern)
{
    const size_t textLength = std::strlen(text);
    const size_t patternLength = std::strlen(pattern);
    if (textLength < patternLength)
        return 0;
    for (size_t i = 0; i <= textLength - patternLength; ++i)
        if (text[i] == pattern[0] && std::strncmp(text + i, pattern, patternLength) == 0)
            return i + patternLength;
    return 0;
}

int32_t windowHandleNumber(const char* text)
{
    while (std::isspace(static_cast<unsigned char>(*text)))
        ++text;
    const bool negative = *text == '-';
    if (*text == '-' || *text == '+')
        ++text;
    uint32_t value = 0;  // wraps modulo 2^32 where atoi would overflow
    for (; *text >= '0' && *text <= '9'; ++text)
        value = value * 10u + static_cast<uint32_t>(*text - '0');
    if (negative)
        value = 0u - value;
    return static_cast<int32_t>(value);
}

RunMode parseCommandLine(char* line, int32_t& windowHandle)
{
    for (char* c = line; *c; ++c)
        *c = static_cast<char>(std::tolower(static_cast<unsigned char>(*c)));

    windowHandle = 0;
    for (const Switch& s : switches) {
        const size_t end = findSwitch(line, s.pattern);
        if (end == 0)
            continue;
        if (s.carries == Carries::window)
            windowHandle = windowHandleNumber(line + end);
        if (s.carries == Carries::precision)
            calibrationFrames = precisionCalibrationFrames;
        return s.mode;
    }
    return Config;  // no switch: the host's configure request without a handle
}
