// A recording stand-in for the screensaver's platform effects.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct FakePlatform {
    uint64_t counter = 0;
    uint64_t counterStep = 0;  // added to the counter after every read
    uint64_t frequency = 1000000;
    int64_t secondsSince1970 = 0;
    // In order: "clock" (a counter read), "priority high", "priority normal",
    // "sound", "sound stopped", "present", "announce <text>"; the fake GL adds
    // "glClear" and "glFinish".
    std::vector<std::string> effects;
};

extern FakePlatform fakePlatform;

// What the fake throws where the real platform would end the process.
struct FatalExit {
    std::string message;
};
