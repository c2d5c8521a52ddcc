// astrelle's command line, in the form Linux screensaver hosts use: every
// switch with one dash or two. One table holds each switch with its kind,
// range, field and line of help; the parser, the usage and the settings the
// switches stand for all come from it. Plain logic; main.cpp applies it.
#pragma once

#include <cstdint>
#include <string>

// A window's size and place as X11 programs take them: WxH, +X+Y, or both;
// a minus places the window from the right or bottom edge.
struct Geometry {
    unsigned width = 1280, height = 720;  // 1 to 32767; a window of its own as such savers make it
    int x = 0, y = 0;
    bool fromRight = false, fromBottom = false;
};

struct Options {
    // Where it draws and how often: what hosts pass.
    bool x11 = false;                // under X11, whatever else answers
    bool wayland = false;            // under the Wayland compositor, whatever else answers
    bool cover = false;              // every output of a Wayland compositor, as a saver
    bool root = false;
    unsigned long windowId = 0;      // --window-id; 0 when none was given
    const char* display = nullptr;   // --display; else $DISPLAY
    Geometry geometry;               // a window of its own
    long delayMicroseconds = 0;      // after each shown frame
    bool fps = false;                // frame rate and particle count in a corner
    // The saver's own.
    long count = 0;                  // particles to draw without calibrating; 0: fit them to the machine
    bool preciseCalibration = false; // calibrate over 2048 unseen frames, whatever was remembered
    bool recalibrate = false;        // calibrate unseen, whatever was remembered
    bool fixedSync = false;          // step the swarm by 0.01 s a frame
    bool syncFrames = false;         // glFinish after every frame
    bool music = false;              // loop astr.wav
    bool verbose = false;            // the count, and what became of the file, on standard error
};

// The delay's default and upper bound; the settings description and the
// manual are written from these two lines.
constexpr long defaultDelayMicroseconds = 30000;
constexpr long longestDelayMicroseconds = 10000000;

// The run's one record of them, as main.cpp parsed them.
extern Options options;

// The usage, from the table: every switch the parser takes, and no other.
std::string usageText();

enum class Parsed {
    run,
    help,     // --help: the usage, and nothing else
    version,  // --version
    refused,  // an unknown switch, a missing value or a value out of range
};

// Reads argv[1] to argv[argc - 1] into a record that starts at the
// defaults. What it refuses, problem names, as
// "--delay: \"-5\" is not a whole number from 0 to 10000000".
Parsed parseOptions(int argc, const char* const* argv, Options& parsed, std::string& problem);

// The screensaver's settings that the switches stand for (FixedSync, glFinish, Music).
void applySettings(const Options& parsed);

// A window id as hosts write it: hexadecimal with 0x, or decimal. Answers
// false for anything else, 0, or a number beyond 32 bits.
bool parseWindowId(const char* text, unsigned long& id);

// As XParseGeometry reads it; false for anything else.
bool parseGeometry(const char* text, Geometry& geometry);

enum class WindowSource {
    own,          // a window of the saver's own (no window switch)
    given,        // --window-id, or --root with $XSCREENSAVER_WINDOW
    virtualRoot,  // --root alone: the virtual root if there is one, else the root window
};

struct WindowChoice {
    WindowSource source;
    unsigned long id;  // for WindowSource::given
};

// --window-id wins; --root takes $XSCREENSAVER_WINDOW when it holds a window
// id, else the virtual root; neither asks for a window of its own.
// xscreensaverWindow is that variable's value, or null.
WindowChoice chooseWindow(const Options& parsed, const char* xscreensaverWindow);
