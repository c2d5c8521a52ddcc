// sepria, the real program under wine64, worked through its windows; Setup
// runs Wine's own INF installer.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "../../sepria/resource.h"
#include "dialog_template.h"
#include "resource_checks.h"
#include "ui_driver.h"

namespace {

const std::string sepriaExe = ui::windowsPath(SEPRIA_EXE);

const char notifyText[] = "Astrelle is installed.\r\nChoose it under Screen Saver.";

bool fileExists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// An INF whose DefaultInstall copies payload into the system folder, with
// the launcher's five keys in a section of their own.
std::string packageInf(const std::string& payload, bool withNotify)
{
    std::string inf =
        "[Version]\r\nSignature=\"$CHICAGO$\"\r\n\r\n"
        "[DefaultInstall]\r\nCopyFiles=Payload.Files\r\n\r\n"
        "[DestinationDirs]\r\nPayload.Files=11\r\n\r\n"
        "[Payload.Files]\r\n" + payload + "\r\n\r\n"
        "[SourceDisksNames]\r\n1=\"Package\",,,\r\n\r\n"
        "[SourceDisksFiles]\r\n" + payload + "=1\r\n\r\n"
        "[Package]\r\nVENDOR=\"Brightloom\"\r\nTITLE=\"Astrelle Screensaver\"\r\n"
        "VERSION=\"1.0.3\"\r\nSIZE=\"1.2 MB\"\r\n";
    if (withNotify)
        inf += "NOTIFY=\"" + std::string(notifyText) + "\"\r\n";
    return inf;
}

class Sepria : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder = ui::makeScratchFolder("sepria-e2e-");
        ASSERT_FALSE(folder.empty());
        payload = folder.substr(folder.rfind('\\') + 1) + ".txt";  // unique in the system folder too
    }

    void TearDown() override
    {
        if (program.process)
            ui::waitForExit(program, 0);
        DeleteFileA((ui::systemFolder() + "\\" + payload).c_str());
        ui::removeTree(folder);
    }

    void writeFile(const std::string& name, const std::string& bytes)
    {
        std::FILE* file = std::fopen((folder + "\\" + name).c_str(), "wb");
        ASSERT_NE(file, nullptr);
        std::fwrite(bytes.data(), 1, bytes.size(), file);
        std::fclose(file);
    }

    void writePackage(const std::string& infName, bool withNotify)
    {
        writeFile(infName, packageInf(payload, withNotify));
        writeFile(payload, "installed by the test\r\n");
    }

    HWND startDialog()
    {
        program = ui::start("\"" + sepriaExe + "\"", folder);
        EXPECT_NE(program.process, nullptr) << "cannot start " << sepriaExe;
        return ui::waitForWindow(program, "#32770", "Sepria");
    }

    bool installed() const { return fileExists(ui::systemFolder() + "\\" + payload); }

    bool installedWithin(DWORD milliseconds) const
    {
        return ui::waitUntil([this] { return installed(); }, milliseconds, 100);
    }

    std::string folder;
    std::string payload;
    ui::Program program;
};

struct InstallCase {
    const char* name;
    const char* infName;
};

class SepriaInstall : public Sepria, public ::testing::WithParamInterface<InstallCase> {};

}  // namespace

TEST_P(SepriaInstall, ShowsThePackageAndInstallsItOnSetup)
{
    writePackage(GetParam().infName, true);
    HWND dialog = startDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(ui::itemText(dialog, IDC_VENDOR_EDIT), "Brightloom");
    EXPECT_EQ(ui::itemText(dialog, IDC_TITLE_EDIT), "Astrelle Screensaver");
    EXPECT_EQ(ui::itemText(dialog, IDC_VERSION_EDIT), "1.0.3");
    EXPECT_EQ(ui::itemText(dialog, IDC_SIZE_EDIT), "1.2 MB");
    EXPECT_EQ(ui::focusedWindow(dialog), GetDlgItem(dialog, IDC_SETUP_BUTTON));

    // The second press reaches the dialog once it has ended, while the
    // notification shows: it must start nothing more.
    ui::pressButton(dialog, IDC_SETUP_BUTTON);
    ui::pressButton(dialog, IDC_SETUP_BUTTON);
    HWND notify = ui::waitForWindow(program, "#32770", "Notify");
    ASSERT_NE(notify, nullptr);
    EXPECT_EQ(ui::messageBoxText(notify), notifyText);
    EXPECT_EQ(ui::messageBoxIcon(notify), 0u);
    EXPECT_EQ(ui::messageBoxButtons(notify), std::vector<std::string>{"OK"});
    EXPECT_EQ(GetWindow(notify, GW_OWNER), nullptr);
    EXPECT_FALSE(IsWindowVisible(dialog)) << "the dialog ends before the notification shows";

    ui::pressButton(notify, IDOK);
    EXPECT_EQ(ui::waitForExit(program), 0u);
    EXPECT_TRUE(installedWithin(20000)) << payload << " never reached " << ui::systemFolder();
}

INSTANTIATE_TEST_SUITE_P(FileNames, SepriaInstall,
                         ::testing::Values(InstallCase{"Plain", "package.inf"},
                                           InstallCase{"WithBlanks", "My Astrelle Package.inf"}),
                         [](const auto& info) { return info.param.name; });

TEST_F(Sepria, EmptyNotifyShowsNoBox)
{
    writePackage("package.inf", false);
    HWND dialog = startDialog();
    ASSERT_NE(dialog, nullptr);
    ui::pressButton(dialog, IDC_SETUP_BUTTON);
    EXPECT_EQ(ui::waitForExit(program), 0u);
    EXPECT_TRUE(installedWithin(20000));
}

struct LeaveCase {
    const char* name;
    void (*leave)(HWND dialog);
};

class SepriaLeave : public Sepria, public ::testing::WithParamInterface<LeaveCase> {};

// Also after other programs have sent the dialog whatever any window may
// get: it still shows the package, has not grown, and ends as asked.
TEST_P(SepriaLeave, EndsWithoutInstallingOrNotifying)
{
    writePackage("package.inf", true);
    HWND dialog = startDialog();
    ASSERT_NE(dialog, nullptr);
    const size_t before = ui::workingSet(program);
    EXPECT_TRUE(ui::deliver(dialog, ui::strayMessages()));
    ui::pumpMessages(200);
    EXPECT_EQ(ui::itemText(dialog, IDC_VENDOR_EDIT), "Brightloom");
    EXPECT_EQ(ui::itemText(dialog, IDC_SIZE_EDIT), "1.2 MB");
    EXPECT_LT(ui::workingSet(program), before + (size_t{2} << 20));
    GetParam().leave(dialog);
    EXPECT_EQ(ui::waitForExit(program, 5000), 0u);
    ui::pumpMessages(1000);  // an installer, had one been started, would have copied by now
    EXPECT_FALSE(installed());
}

INSTANTIATE_TEST_SUITE_P(
    Ways, SepriaLeave,
    ::testing::Values(LeaveCase{"ExitButton", [](HWND d) { ui::pressButton(d, IDC_EXIT_BUTTON); }},
                      LeaveCase{"CloseBox", [](HWND d) { PostMessageA(d, WM_SYSCOMMAND, SC_CLOSE, 0); }},
                      LeaveCase{"AltF4", [](HWND d) { ui::pressAltKey(d, VK_F4); }}),
    [](const auto& info) { return info.param.name; });

TEST_F(Sepria, EscapeAndEditCommandsLeaveTheDialogOpen)
{
    writePackage("package.inf", true);
    HWND dialog = startDialog();
    ASSERT_NE(dialog, nullptr);

    ui::pressKey(dialog, VK_ESCAPE);
    HWND vendor = GetDlgItem(dialog, IDC_VENDOR_EDIT);
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_VENDOR_EDIT, EN_SETFOCUS), reinterpret_cast<LPARAM>(vendor));
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    ui::pumpMessages(1000);
    EXPECT_TRUE(IsWindowVisible(dialog));
    EXPECT_EQ(WaitForSingleObject(program.process, 0), static_cast<DWORD>(WAIT_TIMEOUT));

    ui::pressButton(dialog, IDC_EXIT_BUTTON);
    EXPECT_EQ(ui::waitForExit(program), 0u);
}

TEST_F(Sepria, SixteenBitFileGivesEmptyFields)
{
    const std::string text = packageInf(payload, true);
    std::string wide("\xFF\xFE", 2);  // UTF-16LE with its byte-order mark
    for (char c : text) {
        wide.push_back(c);
        wide.push_back('\0');
    }
    writeFile("package.inf", wide);
    HWND dialog = startDialog();
    ASSERT_NE(dialog, nullptr);
    for (int id : {IDC_VENDOR_EDIT, IDC_TITLE_EDIT, IDC_VERSION_EDIT, IDC_SIZE_EDIT})
        EXPECT_EQ(ui::itemText(dialog, id), "") << id;
    ui::pressButton(dialog, IDC_EXIT_BUTTON);
    EXPECT_EQ(ui::waitForExit(program), 0u);
}

struct FailureCase {
    const char* name;
    void (*prepare)(Sepria& test, const std::string& folder);
    const char* message;
};

class SepriaFailure : public Sepria, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(SepriaFailure, TellsWhyAndEndsWithOne)
{
    GetParam().prepare(*this, folder);
    program = ui::start("\"" + sepriaExe + "\"", folder);
    ASSERT_NE(program.process, nullptr);
    HWND box = ui::waitForWindow(program, "#32770", "INF-Installer");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(ui::messageBoxText(box), GetParam().message);
    EXPECT_EQ(ui::messageBoxIcon(box), UINT{MB_ICONHAND});
    EXPECT_EQ(ui::messageBoxButtons(box), std::vector<std::string>{"OK"});
    EXPECT_EQ(GetWindow(box, GW_OWNER), nullptr);
    ui::pressButton(box, IDOK);
    EXPECT_EQ(ui::waitForExit(program), 1u);
}

INSTANTIATE_TEST_SUITE_P(
    Folders, SepriaFailure,
    ::testing::Values(FailureCase{"NoInfFile", [](Sepria&, const std::string&) {},
                                  "In this directory is'nt any INF-File!"},
                      FailureCase{"FolderNamedLikeAnInf",
                                  [](Sepria&, const std::string& folder) {
                                      CreateDirectoryA((folder + "\\x.inf").c_str(), nullptr);
                                  },
                                  "Can't open INF-File."}),
    [](const auto& info) { return info.param.name; });

TEST(SepriaResources, DialogIsBuiltAsListed)
{
    ui::DialogTemplate dialog;
    ASSERT_TRUE(ui::readDialogTemplate(sepriaExe, "SETUP_DLG", dialog));
    EXPECT_FALSE(dialog.extended);
    EXPECT_EQ(dialog.caption, "Sepria");
    EXPECT_EQ(dialog.typeface, "Helv");
    EXPECT_EQ(dialog.pointSize, 8);
    EXPECT_EQ(dialog.style, static_cast<DWORD>(WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME |
                                               DS_CENTER | DS_SETFONT));
    EXPECT_EQ(dialog.x, 0);
    EXPECT_EQ(dialog.y, 0);
    EXPECT_EQ(dialog.cx, 250);
    EXPECT_EQ(dialog.cy, 75);

    const DWORD child = WS_CHILD | WS_VISIBLE;
    const DWORD edit = child | ES_MULTILINE | ES_READONLY | WS_TABSTOP;
    const ui::DialogItem expected[] = {
        {child | BS_PUSHBUTTON | WS_TABSTOP, 0, 200, 35, 40, 14, 1000, "Button", "Setup"},
        {child | BS_PUSHBUTTON | WS_TABSTOP, 0, 200, 50, 40, 14, 1001, "Button", "Exit"},
        {child | BS_GROUPBOX, 0, 10, 6, 180, 59, 0, "Button", "Software Information"},
        {child | SS_RIGHT | WS_GROUP, 0, 15, 20, 30, 12, 102, "Static", "Vendor:"},
        {edit | ES_OEMCONVERT, 0, 50, 20, 135, 12, 1002, "Edit", ""},
        {child | SS_RIGHT | WS_GROUP, 0, 15, 30, 30, 12, 105, "Static", "Software:"},
        {edit, 0, 50, 30, 135, 12, 1003, "Edit", ""},
        {child | SS_RIGHT | WS_GROUP, 0, 15, 40, 30, 12, 107, "Static", "Version:"},
        {edit, 0, 50, 40, 135, 12, 1004, "Edit", ""},
        {edit, 0, 50, 50, 135, 12, 1005, "Edit", ""},
        {child | SS_RIGHT | WS_GROUP, 0, 15, 50, 30, 12, 110, "Static", "Size:"},
        {child | SS_ICON, 0, 220, 10, 32, 32, 0, "Static", "EXEICON"},
    };
    ASSERT_EQ(dialog.items.size(), std::size(expected));
    for (size_t i = 0; i < dialog.items.size(); ++i) {
        const ui::DialogItem& got = dialog.items[i];
        const ui::DialogItem& want = expected[i];
        SCOPED_TRACE("control " + std::to_string(i) + " \"" + want.text + "\"");
        EXPECT_EQ(got.style, want.style);
        EXPECT_EQ(got.exStyle, want.exStyle);
        EXPECT_EQ(got.id, want.id);
        EXPECT_EQ(got.className, want.className);
        EXPECT_EQ(got.text, want.text);
        EXPECT_EQ((std::vector<short>{got.x, got.y, got.cx, got.cy}),
                  (std::vector<short>{want.x, want.y, want.cx, want.cy}));
    }
}

TEST(SepriaResources, IconIsOne32By32ImageIn256Colours)
{
    EXPECT_TRUE(isOne32By32IconIn256Colours(sepriaExe, "EXEICON"));
}
