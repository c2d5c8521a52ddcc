// The settings store on the Win32 registry.
#include "settings_store.h"

#include <windows.h>

#include "../core/settings.h"
#include "pixel_format_request.h"

namespace {

const char settingsKey[] = "Software\\Brightloom\\Astrelle";

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
    for (const SettingDefault& setting : settingDefaults)
        writeSetting(setting.name, setting.value);
}

void loadSettings()
{
    settings.glFinish = readSetting("glFinish");
    settings.OpenGLInst = readSetting("OpenGLInst");
    settings.Resolution = readSetting("Resolution");
    settings.Music = readSetting("Music");
    settings.FixedSync = readSetting("FixedSync");
    pixelFormatRequest.cColorBits = colorBitsFor(readSetting("Truecolor"));
    pixelFormatRequest.cDepthBits = depthBitsFor(readSetting("Deepdepth"));
}
