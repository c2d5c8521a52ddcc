// astrelle's command line, in the form Linux screensaver hosts use: every
// switch with one dash or two, the host's window switches, the saver's own
// settings, and the usual X options. Plain logic; main.cpp applies it.
#pragma once

#include <cstdint>
#include <string>

enum class WindowSource {
    own,          // a window of the saver's own (no window switch)
    given,        // --window-id, or --root with $XSCREENSAVER_WINDOW
    virtualRoot,  // --root alone: the virtual root if there is one, else the root window
};

struct Options {
    bool root = false;
    bool windowIdGiven = false;
    unsigned long windowId = 0;
    bool fixedSync = false;   // step the swarm by 0.01 s a frame
    bool syncFrames = false;  // glFinish after every frame
    bool prec = false;        // calibrate over 2048 frames, unseen, whatever was remembered
    bool recalibrate = false; // calibrate unseen, whatever was remembered
    int32_t count = 0;        // particles to draw without calibrating; 0: fit them to the machine
    bool music = false;       // loop astr.wav
    bool fps = false;         // frame rate and particle count in a corner
    bool verbose = false;     // the calibrated count on standard error
    long delayMicroseconds = defaultDelayMicroseconds;
    const char* display = nullptr;   // --display; else $DISPLAY
    const char* geometry = nullptr;  // --geometry, for a window of its own

    static constexpr long defaultDelayMicroseconds = 30000;
    static constexpr long longestDelayMicroseconds = 10000000;
};

extern const char usageText[];

enum class Parsed {
    run,
    help,     // --help: the usage, and nothing else
    version,  // --version
    refused,  // an unknown switch, a missing value or a value out of range
};

// Reads argv[1] to argv[argc - 1]. What it refuses, problem names, as
// "--delay: \"-5\" is not a whole number from 0 to 10000000".
Parsed parseOptions(int argc, const char* const* argv, Options& options, std::string& problem);

// A window id as hosts write it: hexadecimal with 0x, or decimal. Answers
// false for anything else, 0, or a number beyond 32 bits.
bool parseWindowId(const char* text, unsigned long& id);

struct WindowChoice {
    WindowSource source;
    unsigned long id;  // for WindowSource::given
};

// --window-id wins; --root takes $XSCREENSAVER_WINDOW when it holds a window
// id, else the virtual root; neither asks for a window of its own.
// xscreensaverWindow is that variable's value, or null.
WindowChoice chooseWindow(const Options& options, const char* xscreensaverWindow);
