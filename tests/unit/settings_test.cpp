// The settings' encodings: defaults, bit counts and the dialog's controls.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../../astr/core/settings.h"
#include "../../astr/win32/config_controls.h"

TEST(Settings, DefaultsAreWhatInitWritesInItsOrder)
{
    std::vector<std::pair<std::string, int32_t>> written;
    for (const SettingEntry& setting : settingTable)
        written.emplace_back(setting.name, setting.defaultValue);
    const std::vector<std::pair<std::string, int32_t>> expected = {
        {"Music", 1},     {"Resolution", 0}, {"glFinish", 0},  {"OpenGLInst", 1},
        {"Truecolor", 0}, {"Deepdepth", 0},  {"FixedSync", 0},
    };
    EXPECT_EQ(written, expected);
    for (const auto& [name, value] : expected)
        EXPECT_EQ(settingDefault(name.c_str()), value) << name;
    EXPECT_EQ(settingDefault("music"), 0) << "value names are matched exactly";
    for (const auto& [setting, name] : {std::pair{Setting::Music, "Music"}, {Setting::Deepdepth, "Deepdepth"},
                                        {Setting::FixedSync, "FixedSync"}})
        EXPECT_STREQ(settingEntry(setting).name, name) << "the table follows Setting's order";
    const Settings d = defaultSettings();
    EXPECT_EQ((std::vector<int32_t>{d.Music, d.Resolution, d.glFinish, d.OpenGLInst, d.FixedSync}),
              (std::vector<int32_t>{1, 0, 0, 1, 0}));
}

struct StoredCase {
    int32_t stored;  // the value every setting holds
    // Per setting in the dialog's order (Music, Resolution, glFinish,
    // OpenGLInst, FixedSync, Truecolor, Deepdepth): the check box's tick, or
    // the radio button selected. It is also what OK writes back.
    int shown[settingCount];
    int colorBits, depthBits;
};

class StoredValue : public ::testing::TestWithParam<StoredCase> {};

TEST_P(StoredValue, GivesItsBitCountsAndControlsAndIsWrittenBackNormalised)
{
    const StoredCase& c = GetParam();
    EXPECT_EQ(colorBitsFor(c.stored), c.colorBits);
    EXPECT_EQ(depthBitsFor(c.stored), c.depthBits);
    Settings chosen{};
    chosen.Music = c.stored;
    EXPECT_EQ(playsBackgroundSound(Saver, chosen), c.stored == 1);
    EXPECT_FALSE(playsBackgroundSound(Preview, chosen) || playsBackgroundSound(Config, chosen));
    for (int s = 0; s < settingCount; ++s) {
        const SettingControls& controls = settingControls[s];
        SCOPED_TRACE(settingEntry(controls.setting).name);
        bool checked[maxButtonsPerSetting] = {};
        buttonsForStoredValue(controls, c.stored, checked);
        std::vector<bool> expected;
        if (controls.kind == RadioGroup)
            expected = {c.shown[s] == 0, c.shown[s] == 1, c.shown[s] == 2};
        else
            expected = {c.shown[s] == 1};
        EXPECT_EQ(std::vector<bool>(checked, checked + buttonCount(controls)), expected);
        EXPECT_EQ(valueForButtons(controls, checked), c.shown[s]);
    }
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(EdgeValues, StoredValue, ::testing::Values(
    StoredCase{0, {0, 0, 0, 0, 0, 0, 0}, 0, 0},
    StoredCase{1, {1, 1, 1, 1, 1, 1, 1}, 16, 16},
    StoredCase{2, {1, 2, 0, 1, 1, 2, 2}, 32, 24},
    StoredCase{3, {1, 0, 0, 1, 1, 0, 0}, 0, 0},
    StoredCase{5, {1, 0, 0, 1, 1, 0, 0}, 0, 0},
    StoredCase{-1, {1, 0, 0, 1, 1, 0, 0}, 0, 0}
), [](const auto& info) { return info.param.stored < 0 ? std::string("AllOnes") : std::to_string(info.param.stored); });
// clang-format on

TEST(SettingControls, ARadioGroupWritesItsHighestSelectedChoice)
{
    // States the dialog never shows by itself, but another program could set.
    struct Case {
        bool checked[maxButtonsPerSetting];
        int32_t written;
    };
    const Case cases[] = {{{false, false, false}, 0}, {{true, true, false}, 1}, {{false, true, true}, 2},
                          {{true, false, true}, 2}};
    for (const SettingControls& controls : settingControls) {
        if (controls.kind != RadioGroup)
            continue;
        for (const Case& c : cases)
            EXPECT_EQ(valueForButtons(controls, c.checked), c.written) << settingEntry(controls.setting).name;
    }
}
