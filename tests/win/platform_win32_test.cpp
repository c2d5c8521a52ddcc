// The screensaver's Win32 platform effects, for real, under Wine.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "../../astr/core/fatal_error.h"
#include "../../astr/core/platform.h"
#include "../../astr/win32/main_window.h"
#include "../driver/ui_driver.h"

namespace {

const char twoLineMessage[] =
    "Bad, bad Windows!\r\nMemorymanagment error. Resizing failed. You should go to search your windows-cd...";

std::string ownPath()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    return path;
}

// A window of this test process that stands in for a screensaver host's.
HWND createHostWindow()
{
    return CreateWindowExA(0, "Static", "host", WS_OVERLAPPED | WS_VISIBLE, 0, 0, 200, 100, nullptr, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
}

}  // namespace

TEST(Win32Platform, PerformanceCounterRunsAtItsFrequency)
{
    const uint64_t frequency = readPerformanceFrequency();
    ASSERT_GT(static_cast<uint32_t>(frequency), 0u);
    const uint64_t before = readPerformanceCounter();
    Sleep(50);
    const double seconds = static_cast<double>(readPerformanceCounter() - before) / static_cast<double>(frequency);
    EXPECT_GT(seconds, 0.04);
    EXPECT_LT(seconds, 5.0);
}

TEST(Win32Platform, PriorityGoesHighAndBackToNormal)
{
    setHighPriority();
    EXPECT_EQ(GetPriorityClass(GetCurrentProcess()), static_cast<DWORD>(HIGH_PRIORITY_CLASS));
    setNormalPriority();
    EXPECT_EQ(GetPriorityClass(GetCurrentProcess()), static_cast<DWORD>(NORMAL_PRIORITY_CLASS));
}

struct FatalCase {
    const char* name;
    bool hostOwned;
    const char* message;
};

class FatalErrorBox : public ::testing::TestWithParam<FatalCase> {};

TEST_P(FatalErrorBox, ShowsItsTextOverTheOwnerAndEndsWithMinusOne)
{
    const FatalCase c = GetParam();
    HWND host = c.hostOwned ? createHostWindow() : nullptr;
    if (c.hostOwned) {
        ASSERT_NE(host, nullptr);
    }

    const std::string command = "\"" + ownPath() + "\" --fatal-child " +
                                std::to_string(reinterpret_cast<uintptr_t>(host)) + " \"" + c.name + "\"";
    ui::Program child = ui::start(command);
    ASSERT_NE(child.process, nullptr);

    HWND box = ui::waitForWindow(child, "#32770", "astr-Error");
    ASSERT_NE(box, nullptr) << "no message box captioned astr-Error";
    EXPECT_EQ(ui::messageBoxText(box), c.message);
    EXPECT_EQ(ui::messageBoxIcon(box), 0u);
    EXPECT_EQ(ui::messageBoxButtons(box), std::vector<std::string>{"OK"});
    EXPECT_EQ(GetWindow(box, GW_OWNER), host);

    ui::pressButton(box, IDOK);
    EXPECT_EQ(ui::waitForExit(child), 0xFFFFFFFFu);  // exit status -1
    if (host)
        DestroyWindow(host);
}

INSTANTIATE_TEST_SUITE_P(Owners, FatalErrorBox,
                         ::testing::Values(FatalCase{"unowned", false, "Insufficient memory."},
                                           FatalCase{"host-owned", true, twoLineMessage}),
                         [](const auto& info) { return info.param.hostOwned ? "HostOwned" : "Unowned"; });

// win_tests --fatal-child OWNER NAME: raise the fatal error of that test case.
int main(int argc, char** argv)
{
    if (argc == 4 && std::strcmp(argv[1], "--fatal-child") == 0) {
        mainWindow = reinterpret_cast<HWND>(static_cast<uintptr_t>(std::strtoull(argv[2], nullptr, 10)));
        FatalError("%s", std::strcmp(argv[3], "host-owned") == 0 ? twoLineMessage : "Insufficient memory.");
    }
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
