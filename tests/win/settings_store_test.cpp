// The settings store against the test prefix's own registry.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "../../astr/core/settings.h"
#include "../../astr/win32/pixel_format_request.h"
#include "../../astr/win32/settings_store.h"
#include "../driver/registry.h"

namespace {

const char settingsKey[] = "Software\\Brightloom\\Astrelle";

struct Loaded {
    int32_t Music, Resolution, glFinish, OpenGLInst, FixedSync;
    int colorBits, depthBits;
    bool operator==(const Loaded& other) const
    {
        return Music == other.Music && Resolution == other.Resolution && glFinish == other.glFinish &&
               OpenGLInst == other.OpenGLInst && FixedSync == other.FixedSync && colorBits == other.colorBits &&
               depthBits == other.depthBits;
    }
};

std::ostream& operator<<(std::ostream& out, const Loaded& l)
{
    return out << "Music " << l.Music << ", Resolution " << l.Resolution << ", glFinish " << l.glFinish
               << ", OpenGLInst " << l.OpenGLInst << ", FixedSync " << l.FixedSync << ", colour bits " << l.colorBits
               << ", depth bits " << l.depthBits;
}

// Loads over values that no key gives, so that every field must be written.
Loaded load()
{
    settings = Settings{77, 77, 77, 77, 77};
    pixelFormatRequest.cColorBits = pixelFormatRequest.cDepthBits = 77;
    loadSettings();
    return {settings.Music,     settings.Resolution,           settings.glFinish,
            settings.OpenGLInst, settings.FixedSync,           pixelFormatRequest.cColorBits,
            pixelFormatRequest.cDepthBits};
}

const Loaded defaults = {1, 0, 0, 1, 0, 0, 0};

class SettingsStore : public ::testing::Test {
protected:
    void SetUp() override { ui::setUserKey(settingsKey, {}); }
    void TearDown() override { ui::setUserKey(settingsKey, {}); }
};

}  // namespace

TEST_F(SettingsStore, DefaultsAreSevenDwordsThatLoadAsWritten)
{
    writeDefaults();
    const ui::RegistryValues expected = {
        {"Music", ui::dwordValue(1)},     {"Resolution", ui::dwordValue(0)}, {"glFinish", ui::dwordValue(0)},
        {"OpenGLInst", ui::dwordValue(1)}, {"FixedSync", ui::dwordValue(0)}, {"Truecolor", ui::dwordValue(0)},
        {"Deepdepth", ui::dwordValue(0)},
    };
    EXPECT_EQ(ui::readUserKey(settingsKey), expected);
    EXPECT_EQ(load(), defaults);
}

namespace {

struct LoadCase {
    const char* name;
    ui::RegistryValues stored;
    Loaded loaded;
};

class SettingsLoad : public SettingsStore, public ::testing::WithParamInterface<LoadCase> {};

}  // namespace

TEST_P(SettingsLoad, GivesTheRawValuesAndTheBitCounts)
{
    ui::setUserKey(settingsKey, GetParam().stored);
    EXPECT_EQ(load(), GetParam().loaded);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Keys, SettingsLoad, ::testing::Values(
    LoadCase{"MissingKey", {}, defaults},
    LoadCase{"EachItsOwnValue",
             {{"Music", ui::dwordValue(0)}, {"Resolution", ui::dwordValue(3)}, {"glFinish", ui::dwordValue(2)},
              {"OpenGLInst", ui::dwordValue(5)}, {"FixedSync", ui::dwordValue(-1)}, {"Truecolor", ui::dwordValue(1)},
              {"Deepdepth", ui::dwordValue(2)}},
             {0, 3, 2, 5, -1, 16, 24}},
    LoadCase{"MissingValues", {{"Truecolor", ui::dwordValue(2)}, {"Deepdepth", ui::dwordValue(1)}},
             {1, 0, 0, 1, 0, 32, 16}},
    LoadCase{"ChoicesWithoutADepth", {{"Truecolor", ui::dwordValue(3)}, {"Deepdepth", ui::dwordValue(-1)}}, defaults},
    // Only the length counts: a value of another length reads as the default,
    // 4 bytes of any type as they are.
    LoadCase{"OtherTypesAndLengths",
             {{"Music", {REG_SZ, std::string("7", 2)}},
              {"OpenGLInst", {REG_QWORD, std::string(8, '\0')}},
              {"Resolution", {REG_BINARY, std::string("\2\0", 2)}},
              {"glFinish", {REG_SZ, std::string("abc", 4)}},
              {"Truecolor", {REG_BINARY, std::string("\1\0\0\0\0", 5)}},
              {"Deepdepth", {REG_BINARY, std::string("\2\0\0\0", 4)}}},
             {1, 0, 0x00636261, 1, 0, 0, 24}}
), [](const auto& info) { return info.param.name; });
// clang-format on
