// ui::waitUntil, which every wait of the driver and of the end-to-end tests
// goes through: what it answers, how often it asks, and that the caller's
// messages keep flowing meanwhile.
#include <gtest/gtest.h>
#include <windows.h>

#include "../driver/ui_driver.h"

namespace {

struct WaitCase {
    const char* name;
    int yesAtAsk;  // 0 for never
    DWORD timeoutMs;
    bool answer;
    int fewestAsks, mostAsks;
};

class WaitUntil : public ::testing::TestWithParam<WaitCase> {};

int handled = 0;

LRESULT CALLBACK countUserMessages(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_USER)
        ++handled;
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

TEST_P(WaitUntil, AnswersAfterAskingAsOftenAsItMust)
{
    const WaitCase& c = GetParam();
    constexpr DWORD pollMs = 20;
    int asks = 0;
    DWORD lastAsk = 0;
    const DWORD begin = GetTickCount();
    EXPECT_EQ(ui::waitUntil(
                  [&] {
                      lastAsk = GetTickCount();
                      return ++asks == c.yesAtAsk;
                  },
                  c.timeoutMs, pollMs),
              c.answer);
    const DWORD waited = GetTickCount() - begin;
    EXPECT_GE(asks, c.fewestAsks);
    EXPECT_LE(asks, c.mostAsks);
    EXPECT_GE(lastAsk - begin, (asks - 1) * pollMs) << "a poll between asks";
    if (!c.answer) {
        EXPECT_GE(waited, c.timeoutMs) << "gave up early";
    }
}

// A poll takes at least pollMs, so no more than timeoutMs / pollMs + 1 asks fit.
INSTANTIATE_TEST_SUITE_P(Cases, WaitUntil,
                         ::testing::Values(WaitCase{"YesAtOnce", 1, 1000, true, 1, 1},
                                           WaitCase{"YesAtTheThirdAsk", 3, 1000, true, 3, 3},
                                           WaitCase{"NeverYes", 0, 200, false, 3, 11},
                                           WaitCase{"NoTimeAtAll", 0, 0, false, 1, 1}),
                         [](const auto& info) { return info.param.name; });

// A message posted to a window of the waiting thread is handled while it waits.
TEST(WaitUntilMessages, KeepFlowing)
{
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = countUserMessages;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "WaitUntilTest";
    RegisterClassA(&windowClass);
    HWND window = CreateWindowExA(0, "WaitUntilTest", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                  windowClass.hInstance, nullptr);
    ASSERT_NE(window, nullptr);
    handled = 0;
    PostMessageA(window, WM_USER, 0, 0);
    EXPECT_TRUE(ui::waitUntil([] { return handled == 1; }, 2000));
    DestroyWindow(window);
}
