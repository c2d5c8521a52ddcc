// The screensaver's user settings: the one table of their names and
// defaults, the record a load fills, and the encodings of the colour and
// depth choices. Each shell keeps them where its platform keeps settings.
#pragma once

#include <cstdint>

#include "run_mode.h"

struct Settings {
    int32_t Music;       // 1: loop the background sound in a full-screen run
    int32_t Resolution;  // 0 desktop size, 1 640 x 480, 2 320 x 240, else as 0
    int32_t glFinish;    // non-zero: wait for the GL pipeline after every frame
    int32_t OpenGLInst;  // 1: register the window class under the GL library
    int32_t FixedSync;   // 1: step the swarm by 0.01 s instead of the frame time
};

extern Settings settings;

// The background sound loops in a full-screen run with Music 1, and in no
// other run (the preview and the dialogs stay silent).
bool playsBackgroundSound(RunMode mode, const Settings& chosen);

// The seven settings, in the order -init writes them.
enum class Setting { Music, Resolution, glFinish, OpenGLInst, Truecolor, Deepdepth, FixedSync };
constexpr int settingCount = 7;

struct SettingEntry {
    const char* name;          // the registry value's name
    int32_t defaultValue;      // what -init writes, and what a value that cannot be read counts as
    int32_t Settings::*field;  // where the load keeps it; none for the two that become bit counts
};

// Indexed by Setting.
extern const SettingEntry settingTable[settingCount];

inline const SettingEntry& settingEntry(Setting setting)
{
    return settingTable[static_cast<int>(setting)];
}

// The default of the named setting; 0 for a name that is not a setting.
int32_t settingDefault(const char* name);

// The record as the defaults fill it.
Settings defaultSettings();

// The bit counts the pixel-format request asks for. The stored number is the
// index of the choice in the dialog: 1 and 2 pick a depth, anything else
// leaves it to the display.
uint8_t colorBitsFor(int32_t Truecolor);  // 1: 16, 2: 32, else 0
uint8_t depthBitsFor(int32_t Deepdepth);  // 1: 16, 2: 24, else 0
