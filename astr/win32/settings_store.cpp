// The settings store on the Win32 registry.
#include "settings_store.h"

#include <windows.h>

#include "../core/settings.h"
#include "pixel_format_request.h"

namespace {

const char settingsKey[] = "Software\\Brightloom\\Astrelle";

// The load's order, which differs from -init's.
constexpr Setting loadOrder[settingCount] = {Setting::glFinish,  Setting::OpenGLInst, Setting::Resolution,
                                             Setting::Music,     Setting::FixedSync,  Setting::Truecolor,
                                             Setting::Deepdepth};

}  // namespace

int32_t readSetting(const char* name)
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, settingsKey, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS)
        return settingDefault(name);
    int32_t value = 0;
    DWORD size = sizeof value;
    const LONG result = RegQueryValueExA(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(&value), &size);
    RegCloseKey(key);
    return result == ERROR_SUCCESS && size == sizeof value ? value : settingDefault(name);
}

int writeSetting(const char* name, int32_t value)
{
    HKEY key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, settingsKey, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                        nullptr, &key, nullptr) != ERROR_SUCCESS)
        return 0;
    const LONG result =
        RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
    RegCloseKey(key);
    return result == ERROR_SUCCESS ? 1 : 0;
}

void writeDefaults()
{
    for (const SettingEntry& setting : settingTable)
        writeSetting(setting.name, setting.defaultValue);
}

void loadSettings()
{
    for (Setting setting : loadOrder) {
        const SettingEntry& entry = settingEntry(setting);
        const int32_t value = readSetting(entry.name);
        if (entry.field)
            settings.*entry.field = value;
        else if (setting == Setting::Truecolor)
            pixelFormatRequest.cColorBits = colorBitsFor(value);
        else
            pixelFormatRequest.cDepthBits = depthBitsFor(value);
    }
}
