// The suite's package, installed as a user would: in a Wine prefix that has
// never seen it, the package's own sepria.exe runs Wine's INF installer on
// astrelle.inf. The saver then runs from the system folder, as the host
// starts it, and installing again keeps what the user has set since.
#include <gtest/gtest.h>
#include <windows.h>
#include <tlhelp32.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "../../astr/core/settings.h"
#include "../../sepria/resource.h"
#include "registry.h"
#include "suite_version.h"
#include "ui_driver.h"

namespace {

const std::string package = ui::windowsPath(SUITE_PACKAGE);
const char settingsKey[] = "Software\\Brightloom\\Astrelle";
const char notifyText[] =
    "Astrelle is installed. To use it, choose Astrelle as your screen saver in the display settings.";
const char* const installedFiles[] = {"astr.scr", "astr.wav"};
constexpr DWORD installTimeoutMs = 60000;
constexpr DWORD calibrationTimeoutMs = 60000;

std::string fileBytes(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// What the INF file must declare as SIZE: what DefaultInstall copies, in
// kilobytes rounded up.
std::string installedSize()
{
    size_t bytes = 0;
    for (const char* name : installedFiles)
        bytes += fileBytes(package + "\\" + name).size();
    return std::to_string((bytes + 1023) / 1024) + " KB";
}

ui::RegistryValues defaultValues()
{
    ui::RegistryValues values;
    for (const SettingEntry& setting : settingTable)
        values[setting.name] = ui::dwordValue(setting.defaultValue);
    return values;
}

// Nothing hands the test the installer sepria starts: it is found among the
// prefix's processes by name.
bool installerEnded(DWORD timeoutMs)
{
    std::vector<HANDLE> installers;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry))
        if (lstrcmpiA(entry.szExeFile, "rundll32.exe") == 0)
            if (HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, entry.th32ProcessID))
                installers.push_back(process);
    CloseHandle(snapshot);
    bool ended = true;
    for (HANDLE process : installers) {
        ended = WaitForSingleObject(process, timeoutMs) == WAIT_OBJECT_0 && ended;
        CloseHandle(process);
    }
    return ended;
}

struct SetupRun {
    std::vector<std::string> fields;  // vendor, title, version, size
    std::string notification;
    DWORD exitCode = STILL_ACTIVE;
};

// The package's sepria, started in the package folder: its four fields read,
// Setup pressed, the notification read and dismissed, and the installer
// waited for.
SetupRun runSetup()
{
    SetupRun run;
    ui::Program sepria = ui::start("\"" + package + "\\sepria.exe\"", package);
    HWND dialog = ui::waitForWindow(sepria, "#32770", "Sepria");
    if (!dialog)
        return run;
    for (int id : {IDC_VENDOR_EDIT, IDC_TITLE_EDIT, IDC_VERSION_EDIT, IDC_SIZE_EDIT})
        run.fields.push_back(ui::itemText(dialog, id));
    ui::pressButton(dialog, IDC_SETUP_BUTTON);
    if (HWND notify = ui::waitForWindow(sepria, "#32770", "Notify")) {
        run.notification = ui::messageBoxText(notify);
        ui::pressButton(notify, IDOK);
    }
    run.exitCode = ui::waitForExit(sepria);
    EXPECT_TRUE(installerEnded(installTimeoutMs)) << "the installer is still running";
    return run;
}

}  // namespace

TEST(Install, IntoAPrefixThatHasNeverSeenThePackage)
{
    const std::string system = ui::systemFolder();
    for (const char* name : installedFiles)
        ASSERT_EQ(GetFileAttributesA((system + "\\" + name).c_str()), INVALID_FILE_ATTRIBUTES)
            << name << " is already in " << system << ": this prefix is not new";
    ASSERT_FALSE(ui::userKeyExists(settingsKey));

    const SetupRun run = runSetup();
    EXPECT_EQ(run.fields, (std::vector<std::string>{"Brightloom", "Astrelle suite", SUITE_VERSION, installedSize()}));
    EXPECT_EQ(run.notification, notifyText);
    EXPECT_EQ(run.exitCode, 0u);

    for (const char* name : installedFiles) {
        const std::string copied = fileBytes(system + "\\" + name);
        EXPECT_FALSE(copied.empty()) << name << " never reached " << system;
        EXPECT_TRUE(copied == fileBytes(package + "\\" + name)) << name << " differs from the package's";
    }
    EXPECT_EQ(ui::readUserKey(settingsKey), defaultValues());

    // As the host starts it: from the system folder, where the sound lies.
    ui::Program saver = ui::start("\"" + system + "\\astr.scr\" /s", system);
    HWND window = ui::waitForWindow(saver, "Astrelle", "Astrelle");
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(ui::waitForPicture(saver, window, calibrationTimeoutMs)) << "the saver never got past calibration";
    ui::pressKey(window, VK_ESCAPE);
    EXPECT_EQ(ui::waitForExit(saver), 0u);
}

TEST(Install, AgainKeepsTheUsersSettings)
{
    // Six settings changed, and one the user no longer has.
    ui::RegistryValues userSettings = {{"Music", ui::dwordValue(0)},     {"Resolution", ui::dwordValue(2)},
                                       {"glFinish", ui::dwordValue(1)},  {"OpenGLInst", ui::dwordValue(0)},
                                       {"Truecolor", ui::dwordValue(2)}, {"Deepdepth", ui::dwordValue(1)}};
    ui::setUserKey(settingsKey, userSettings);

    EXPECT_EQ(runSetup().exitCode, 0u);
    userSettings["FixedSync"] = ui::dwordValue(settingDefault("FixedSync"));
    EXPECT_EQ(ui::readUserKey(settingsKey), userSettings);
}
