#include "config_controls.h"

#include "resources/resource.h"

const SettingControls settingControls[settingCount] = {
    {Setting::Music, IDC_MUSIC, TickedWhenNonZero},
    {Setting::Resolution, IDC_RESOLUTION_DESKTOP, RadioGroup},
    {Setting::glFinish, IDC_SYNC_FRAMES, TickedWhenOne},
    {Setting::OpenGLInst, IDC_OPENGL_INSTANCE, TickedWhenNonZero},
    {Setting::FixedSync, IDC_FIXED_SYNC, TickedWhenNonZero},
    {Setting::Truecolor, IDC_COLOR_DESKTOP, RadioGroup},
    {Setting::Deepdepth, IDC_DEPTH_DEFAULT, RadioGroup},
};

int buttonCount(const SettingControls& controls)
{
    return controls.kind == RadioGroup ? 3 : 1;
}

void buttonsForStoredValue(const SettingControls& controls, int32_t stored, bool checked[maxButtonsPerSetting])
{
    switch (controls.kind) {
    case TickedWhenNonZero:
        checked[0] = stored != 0;
        break;
    case TickedWhenOne:
        checked[0] = stored == 1;
        break;
    case RadioGroup: {
        // A number the group has no button for shows as its first choice.
        const int32_t selected = stored == 1 || stored == 2 ? stored : 0;
        for (int i = 0; i < 3; ++i)
            checked[i] = i == selected;
        break;
    }
    }
}

int32_t valueForButtons(const SettingControls& controls, const bool checked[maxButtonsPerSetting])
{
    if (controls.kind != RadioGroup)
        return checked[0] ? 1 : 0;
    return checked[2] ? 2 : checked[1] ? 1 : 0;
}
