// astr's dialogs under Wine, worked through their windows: the configuration
// dialog against the registry key it keeps, with every write failing in a
// fault-injected build; the statistics dialog with given figures; and the
// resources astr carries.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "../../astr/win32/resources/resource.h"
#include "dialog_template.h"
#include "registry.h"
#include "resource_checks.h"
#include "suite_version.h"
#include "ui_driver.h"

namespace {

const std::string astrScr = ui::windowsPath(ASTR_SCR);
const std::string statsHost = ui::windowsPath(ASTR_STATS_HOST);
const std::string faultyScr = ui::windowsPath(ASTR_FAULTY_SCR);
const char settingsKey[] = "Software\\Brightloom\\Astrelle";
const char dialogClass[] = "#32770";

struct SettingButtons {
    const char* name;
    int firstId;
    bool radioGroup;
};

// The seven settings in the order the dialog shows and writes them.
const SettingButtons settingButtons[] = {
    {"Music", IDC_MUSIC, false},           {"Resolution", IDC_RESOLUTION_DESKTOP, true},
    {"glFinish", IDC_SYNC_FRAMES, false},  {"OpenGLInst", IDC_OPENGL_INSTANCE, false},
    {"FixedSync", IDC_FIXED_SYNC, false},  {"Truecolor", IDC_COLOR_DESKTOP, true},
    {"Deepdepth", IDC_DEPTH_DEFAULT, true},
};

// What the dialog shows, per setting in its order: a check box's tick (0 or
// 1), or the radio button selected (0 to 2; -1 unless exactly one is).
using Shown = std::vector<int>;

Shown shownSettings(HWND dialog)
{
    Shown shown;
    for (const SettingButtons& setting : settingButtons) {
        if (!setting.radioGroup) {
            shown.push_back(IsDlgButtonChecked(dialog, setting.firstId) == BST_CHECKED ? 1 : 0);
            continue;
        }
        int selected = -1, count = 0;
        for (int i = 0; i < 3; ++i)
            if (IsDlgButtonChecked(dialog, setting.firstId + i) == BST_CHECKED) {
                selected = i;
                ++count;
            }
        shown.push_back(count == 1 ? selected : -1);
    }
    return shown;
}

// Clicks take their way through the input queue: wait for them to land.
bool showsWithin(HWND dialog, const Shown& expected, DWORD milliseconds = 5000)
{
    return ui::waitUntil([&] { return shownSettings(dialog) == expected; }, milliseconds);
}

// The key after OK: the seven settings, each a REG_DWORD.
ui::RegistryValues sevenDwords(const Shown& values)
{
    ui::RegistryValues key;
    for (size_t i = 0; i < values.size(); ++i)
        key[settingButtons[i].name] = ui::dwordValue(values[i]);
    return key;
}

class AstrConfig : public ::testing::Test {
protected:
    void SetUp() override { ui::setUserKey(settingsKey, {}); }

    void TearDown() override
    {
        if (program.process)
            ui::waitForExit(program, 0);
        ui::setUserKey(settingsKey, {});
    }

    HWND openDialog(const std::string& exe = astrScr)
    {
        program = ui::start("\"" + exe + "\" /c");
        EXPECT_NE(program.process, nullptr) << "cannot start " << exe;
        return ui::waitForWindow(program, dialogClass, "Astrelle");
    }

    ui::Program program;
};

struct StoredCase {
    const char* name;
    ui::RegistryValues stored;
    Shown shown;  // also what OK writes back
};

class AstrConfigShows : public AstrConfig, public ::testing::WithParamInterface<StoredCase> {};

}  // namespace

TEST_P(AstrConfigShows, TheStoredValuesAndOkWritesAllSevenBack)
{
    const StoredCase& c = GetParam();
    ui::setUserKey(settingsKey, c.stored);
    HWND dialog = openDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(shownSettings(dialog), c.shown);

    ui::pressButton(dialog, IDOK);
    EXPECT_EQ(ui::waitForExit(program), 0u);
    EXPECT_EQ(ui::readUserKey(settingsKey), sevenDwords(c.shown));
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Keys, AstrConfigShows, ::testing::Values(
    // Numbers the controls cannot show are normalised on the way back.
    StoredCase{"OutOfRange", sevenDwords({5, 3, 5, 5, 5, -1, 3}), {1, 0, 0, 1, 1, 0, 0}},
    StoredCase{"EveryOtherChoice", sevenDwords({0, 2, 1, 0, 0, 1, 2}), {0, 2, 1, 0, 0, 1, 2}},
    // Missing values, and values that are not 4 bytes long, show their
    // defaults; a 4-byte value counts whatever its type.
    StoredCase{"SomeMissingOrMistyped",
               {{"Resolution", ui::dwordValue(1)},
                {"Truecolor", {REG_SZ, std::string("2", 2)}},
                {"FixedSync", {REG_QWORD, std::string("\1\0\0\0\0\0\0\0", 8)}},
                {"Deepdepth", {REG_BINARY, std::string("\1\0\0\0", 4)}}},
               {1, 1, 0, 1, 0, 0, 1}}
), [](const auto& info) { return info.param.name; });
// clang-format on

TEST_F(AstrConfig, ClicksChangeTheControlsButNotTheDepthAndOkWritesThem)
{
    ui::setUserKey(settingsKey, sevenDwords({1, 0, 0, 1, 0, 0, 1}));
    HWND dialog = openDialog();
    ASSERT_NE(dialog, nullptr);
    ASSERT_EQ(shownSettings(dialog), (Shown{1, 0, 0, 1, 0, 0, 1}));
    for (int id : {IDC_DEPTH_GROUP, IDC_DEPTH_DEFAULT, IDC_DEPTH_16, IDC_DEPTH_32})
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, id))) << "control " << id;

    const std::pair<int, Shown> clicks[] = {
        {IDC_MUSIC, {0, 0, 0, 1, 0, 0, 1}},           {IDC_RESOLUTION_320, {0, 2, 0, 1, 0, 0, 1}},
        {IDC_SYNC_FRAMES, {0, 2, 1, 1, 0, 0, 1}},     {IDC_OPENGL_INSTANCE, {0, 2, 1, 0, 0, 0, 1}},
        {IDC_FIXED_SYNC, {0, 2, 1, 0, 1, 0, 1}},      {IDC_COLOR_24, {0, 2, 1, 0, 1, 2, 1}},
    };
    for (const auto& [id, shown] : clicks) {
        ui::click(GetDlgItem(dialog, id));
        ASSERT_TRUE(showsWithin(dialog, shown))
            << "after a click on " << id << ": " << ::testing::PrintToString(shownSettings(dialog));
    }
    // The disabled "Default" takes nothing from a click, which OK, queued
    // after it, writes back.
    ui::click(GetDlgItem(dialog, IDC_DEPTH_DEFAULT));
    ui::click(GetDlgItem(dialog, IDOK));
    EXPECT_EQ(ui::waitForExit(program), 0u);
    EXPECT_EQ(ui::readUserKey(settingsKey), sevenDwords({0, 2, 1, 0, 1, 2, 1}));
}

namespace {

struct DiscardCase {
    const char* name;
    void (*end)(HWND dialog);
};

class AstrConfigDiscards : public AstrConfig, public ::testing::WithParamInterface<DiscardCase> {};

}  // namespace

TEST_P(AstrConfigDiscards, LeaveTheKeyByteForByteAsItWas)
{
    const ui::RegistryValues stored = {
        {"Music", ui::dwordValue(5)},
        {"Resolution", {REG_SZ, std::string("x", 2)}},
        {"glFinish", {REG_QWORD, std::string("\2\0\0\0\0\0\0\0", 8)}},
        {"Truecolor", ui::dwordValue(2)},
    };
    ui::setUserKey(settingsKey, stored);
    HWND dialog = openDialog();
    ASSERT_NE(dialog, nullptr);
    ui::click(GetDlgItem(dialog, IDC_MUSIC));
    ui::click(GetDlgItem(dialog, IDC_RESOLUTION_640));
    ASSERT_TRUE(showsWithin(dialog, {0, 1, 0, 1, 0, 2, 0}));
    // The choices stay what they are, whatever other programs send.
    EXPECT_TRUE(ui::deliver(dialog, ui::strayMessages()));
    EXPECT_EQ(shownSettings(dialog), (Shown{0, 1, 0, 1, 0, 2, 0}));

    GetParam().end(dialog);
    EXPECT_EQ(ui::waitForExit(program), 0u);
    EXPECT_EQ(ui::readUserKey(settingsKey), stored);
}

INSTANTIATE_TEST_SUITE_P(
    Ways, AstrConfigDiscards,
    ::testing::Values(DiscardCase{"Cancel", [](HWND dialog) { ui::click(GetDlgItem(dialog, IDCANCEL)); }},
                      DiscardCase{"Escape", [](HWND dialog) { ui::pressKey(dialog, VK_ESCAPE); }},
                      DiscardCase{"CloseBox",
                                  [](HWND dialog) { PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0); }}),
    [](const auto& info) { return info.param.name; });

namespace {

// The one visible top-level "Astrelle" box of the program that is not the
// dialog itself, or null when none shows up in time.
HWND waitForBox(const ui::Program& program, HWND dialog)
{
    HWND box = nullptr;
    ui::waitUntil([&] {
        while ((box = FindWindowExA(nullptr, box, dialogClass, "Astrelle")) != nullptr) {
            DWORD owner = 0;
            GetWindowThreadProcessId(box, &owner);
            if (owner == program.id && box != dialog && IsWindowVisible(box))
                return true;
        }
        return false;
    }, ui::defaultTimeoutMs);
    return box;
}

struct FailureCase {
    const char* step;           // the registry call the faulty build fails
    const char* beforeEachBox;  // what the log holds for each write up to its box
};

class AstrConfigFailure : public AstrConfig, public ::testing::WithParamInterface<FailureCase> {};

}  // namespace

TEST_P(AstrConfigFailure, ShowsSevenBoxesOneAfterEachWriteThenCloses)
{
    const FailureCase& c = GetParam();
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::string log = std::string(temp) + "astr-" + c.step + ".log";
    DeleteFileA(log.c_str());
    SetEnvironmentVariableA("ASTR_FAIL", c.step);
    SetEnvironmentVariableA("ASTR_LOG", log.c_str());
    HWND dialog = openDialog(faultyScr);
    SetEnvironmentVariableA("ASTR_FAIL", nullptr);
    SetEnvironmentVariableA("ASTR_LOG", nullptr);
    ASSERT_NE(dialog, nullptr);

    char boxLine[128];
    std::snprintf(boxLine, sizeof boxLine,
                  "MessageBox owner 0 caption \"Astrelle\" text \"REG write failed.\" type 0x%x\n",
                  static_cast<unsigned>(MB_OK | MB_ICONHAND));
    ui::pressButton(dialog, IDOK);
    std::string expectedLog;
    for (const SettingButtons& setting : settingButtons) {
        SCOPED_TRACE(setting.name);
        HWND box = waitForBox(program, dialog);
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(ui::messageBoxText(box), "REG write failed.");
        EXPECT_EQ(ui::messageBoxIcon(box), UINT{MB_ICONHAND});
        EXPECT_EQ(ui::messageBoxButtons(box), std::vector<std::string>{"OK"});
        EXPECT_EQ(GetWindow(box, GW_OWNER), nullptr);
        ui::pressButton(box, IDOK);
        ui::waitUntil([&] { return !IsWindow(box); }, ui::defaultTimeoutMs);

        std::string before = c.beforeEachBox;
        const size_t name = before.find("%s");
        if (name != std::string::npos)
            before.replace(name, 2, setting.name);
        expectedLog += before + boxLine;
    }
    EXPECT_EQ(ui::waitForExit(program), 0u);
    expectedLog += "DialogBoxParam ASTR_DLG shown\n";  // the dialog ends after the last box
    EXPECT_EQ(ui::readTextFile(log), expectedLog);
    EXPECT_EQ(ui::userKeyExists(settingsKey), std::string(c.step) == "RegSetValueEx");
    EXPECT_TRUE(ui::readUserKey(settingsKey).empty());
    DeleteFileA(log.c_str());
}

INSTANTIATE_TEST_SUITE_P(
    EveryWrite, AstrConfigFailure,
    ::testing::Values(FailureCase{"RegCreateKeyEx", "RegCreateKeyEx\n"},
                      FailureCase{"RegSetValueEx", "RegCreateKeyEx\nRegSetValueEx %s\nRegCloseKey\n"}),
    [](const auto& info) { return info.param.step; });

TEST(AstrStats, ShowsItsFiguresAndEndsOnlyOnItsCloseBox)
{
    ui::Program program = ui::start("\"" + statsHost + "\" stats 10000 640 480 32 16 0.02");
    HWND dialog = ui::waitForWindow(program, dialogClass, "Astrelle Stats");
    ASSERT_NE(dialog, nullptr);
    const std::pair<int, const char*> fields[] = {
        {IDC_STATS_PARTICLES, "10000"}, {IDC_STATS_RESOLUTION, "640 x 480"}, {IDC_STATS_COLOR_BITS, "32"},
        {IDC_STATS_DEPTH_BITS, "16"},   {IDC_STATS_FRAME_RATE, "50.0"},      {IDC_STATS_PARTICLE_RATE, "500000.0"},
    };
    for (const auto& [id, text] : fields)
        EXPECT_EQ(ui::itemText(dialog, id), text) << "field " << id;
    EXPECT_EQ(GetForegroundWindow(), dialog);

    // Enter and Escape, as keys and as the commands the dialog manager makes
    // of them, leave it open.
    ui::pressKey(dialog, VK_RETURN);
    ui::pressKey(dialog, VK_ESCAPE);
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    ui::pumpMessages(800);
    EXPECT_TRUE(IsWindowVisible(dialog));

    PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(ui::waitForExit(program), 0u);
}

namespace {

struct Control {
    int id;
    const char* className;
    DWORD style;
    const char* text;
    short x, y, cx, cy;
};

void expectTemplate(const char* name, const char* caption, DWORD style, short cx, short cy,
                    const std::vector<Control>& controls)
{
    ui::DialogTemplate dialog;
    ASSERT_TRUE(ui::readDialogTemplate(astrScr, name, dialog));
    EXPECT_EQ(dialog.caption, caption);
    EXPECT_EQ(dialog.typeface, "Helv");
    EXPECT_EQ(dialog.pointSize, 8);
    EXPECT_EQ(dialog.style, style);
    EXPECT_EQ(dialog.exStyle, 0u);
    EXPECT_EQ((std::vector<short>{dialog.x, dialog.y, dialog.cx, dialog.cy}), (std::vector<short>{0, 0, cx, cy}));
    ASSERT_EQ(dialog.items.size(), controls.size());
    for (size_t i = 0; i < controls.size(); ++i) {
        const ui::DialogItem& got = dialog.items[i];
        const Control& want = controls[i];
        SCOPED_TRACE(std::string(name) + " control " + std::to_string(i + 1) + " (id " + std::to_string(want.id) +
                     ")");
        EXPECT_EQ(got.id, want.id);
        EXPECT_EQ(got.className, want.className);
        EXPECT_EQ(got.style, want.style | WS_CHILD | WS_VISIBLE);
        EXPECT_EQ(got.exStyle, 0u);
        EXPECT_EQ(got.text, want.text);
        EXPECT_EQ((std::vector<short>{got.x, got.y, got.cx, got.cy}),
                  (std::vector<short>{want.x, want.y, want.cx, want.cy}));
    }
}

}  // namespace

TEST(AstrResources, ConfigDialogIsBuiltAsListed)
{
    const DWORD group = BS_GROUPBOX | WS_GROUP;
    const DWORD check = BS_AUTOCHECKBOX | BS_FLAT | WS_TABSTOP;
    const DWORD radio = BS_AUTORADIOBUTTON | BS_FLAT;
    const DWORD push = BS_PUSHBUTTON | WS_TABSTOP;
    // clang-format off
    expectTemplate("ASTR_DLG", "Astrelle",
                   WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_CENTER | DS_SETFONT, 180, 175, {
        {0, "Static", SS_ICON | SS_SUNKEN, "ASTR_ICON", 155, 5, 32, 32},
        {0, "Button", group, "Music", 5, 1, 80, 35},
        {1001, "Button", check, "Play Music", 15, 15, 50, 10},
        {108, "Button", group, "Resolution", 5, 40, 80, 50},
        {1010, "Button", radio, "Desktop", 15, 55, 45, 10},
        {1011, "Button", radio, "640 x 480", 15, 65, 45, 10},
        {1012, "Button", radio, "320 x 240", 15, 75, 45, 10},
        {101, "Button", group, "OpenGL", 95, 40, 80, 50},
        {1020, "Button", check, "Sync Frames", 105, 55, 55, 10},
        {1021, "Button", check, "OpenGL Instance", 105, 65, 65, 10},
        {1022, "Button", check, "Fixed Sync", 105, 75, 65, 10},
        {112, "Button", group, "Color Bits", 6, 95, 79, 50},
        {1030, "Button", radio, "Desktop", 15, 110, 45, 10},
        {1031, "Button", radio, "16", 15, 120, 25, 10},
        {1032, "Button", radio, "24", 15, 130, 25, 10},
        {116, "Button", group | WS_DISABLED, "Depth Bits", 95, 95, 80, 50},
        {1040, "Button", radio | WS_DISABLED, "Default", 105, 110, 40, 10},
        {1041, "Button", radio | WS_DISABLED, "16", 105, 120, 25, 10},
        {1042, "Button", radio | WS_DISABLED, "32", 105, 130, 25, 10},
        {IDOK, "Button", push, "OK", 65, 155, 50, 14},
        {IDCANCEL, "Button", push, "Cancel", 120, 155, 50, 14},
    });
    // clang-format on
}

TEST(AstrResources, StatsDialogIsBuiltAsListed)
{
    const DWORD label = SS_RIGHT | WS_GROUP;
    const DWORD unit = SS_LEFT | WS_GROUP;
    const DWORD figure = ES_READONLY | ES_AUTOHSCROLL;
    // clang-format off
    expectTemplate("ASTR_STS", "Astrelle Stats",
                   WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_CENTER | DS_SETFOREGROUND |
                       DS_SETFONT, 104, 64, {
        {0, "Static", label, "Resolution:", 4, 16, 52, 8},
        {0, "Static", label, "Depthprecision:", 4, 32, 52, 8},
        {0, "Static", label, "Colorprecision:", 4, 24, 52, 8},
        {0, "Static", label, "Frames/s:", 4, 44, 52, 8},
        {0, "Static", label, "Particle/s:", 4, 52, 52, 8},
        {0, "Static", label, "Particle:", 4, 4, 52, 8},
        {2001, "Edit", figure, "", 60, 4, 40, 8},
        {2002, "Edit", figure, "", 60, 16, 40, 8},
        {2003, "Edit", figure, "", 60, 24, 16, 8},
        {0, "Static", unit, "Bit", 80, 24, 16, 8},
        {2004, "Edit", figure, "", 60, 32, 16, 8},
        {0, "Static", unit, "Bit", 80, 32, 16, 8},
        {2005, "Edit", figure, "", 60, 44, 40, 8},
        {2006, "Edit", figure, "", 60, 52, 40, 8},
    });
    // clang-format on
}

TEST(AstrResources, IconDisplayNameAndVersion)
{
    EXPECT_TRUE(isOne32By32IconIn256Colours(astrScr, "ASTR_ICON"));
    EXPECT_EQ(resourceString(astrScr, 1), "Astrelle");

    VersionBlock version;
    ASSERT_TRUE(readVersionBlock(astrScr,
                                 {"CompanyName", "FileDescription", "FileVersion", "InternalName", "OriginalFilename",
                                  "ProductName", "ProductVersion"},
                                 version));
    const std::vector<WORD> suiteVersion = {SUITE_VERSION_BINARY};
    EXPECT_EQ(std::vector<WORD>(version.fileVersion, version.fileVersion + 4), suiteVersion);
    EXPECT_EQ(std::vector<WORD>(version.productVersion, version.productVersion + 4), suiteVersion);
    const std::vector<std::pair<std::string, std::string>> texts = {
        {"CompanyName", "Brightloom"},       {"FileDescription", "OpenGL screensaver"},
        {"FileVersion", SUITE_VERSION},      {"InternalName", "astr.scr"},
        {"OriginalFilename", "astr.scr"},    {"ProductName", "Astrelle suite"},
        {"ProductVersion", SUITE_VERSION},
    };
    EXPECT_EQ(version.texts, texts);
}
