#include "settings.h"

#include <cstring>

Settings settings;

// The package's INF file is made from this table (tools/make_package.py):
// keep each entry on one line, in this form.
const SettingEntry settingTable[settingCount] = {
    {"Music", 1, &Settings::Music},
    {"Resolution", 0, &Settings::Resolution},
    {"glFinish", 0, &Settings::glFinish},
    {"OpenGLInst", 1, &Settings::OpenGLInst},
    {"Truecolor", 0, nullptr},
    {"Deepdepth", 0, nullptr},
    {"FixedSync", 0, &Settings::FixedSync},
};

int32_t settingDefault(const char* name)
{
    for (const SettingEntry& setting : settingTable)
        if (std::strcmp(setting.name, name) == 0)
            return setting.defaultValue;
    return 0;
}

Settings defaultSettings()
{
    Settings defaults{};
    for (const SettingEntry& setting : settingTable)
        if (setting.field)
            defaults.*setting.field = setting.defaultValue;
    return defaults;
}

bool playsBackgroundSound(RunMode mode, const Settings& chosen)
{
    return mode == Saver && chosen.Music == 1;
}

uint8_t colorBitsFor(int32_t Truecolor)
{
    switch (Truecolor) {
    case 1:
        return 16;
    case 2:
        return 32;
    default:
        return 0;
    }
}

uint8_t depthBitsFor(int32_t Deepdepth)
{
    switch (Deepdepth) {
    case 1:
        return 16;
    case 2:
        return 24;
    default:
        return 0;
    }
}
