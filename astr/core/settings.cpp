#include "settings.h"

#include <cstring>

Settings settings;

const SettingDefault settingDefaults[settingCount] = {
    {"Music", 1},     {"Resolution", 0}, {"glFinish", 0},  {"OpenGLInst", 1},
    {"Truecolor", 0}, {"Deepdepth", 0},  {"FixedSync", 0},
};

int32_t settingDefault(const char* name)
{
    for (const SettingDefault& setting : settingDefaults)
        if (std::strcmp(setting.name, name) == 0)
            return setting.value;
    return 0;
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
