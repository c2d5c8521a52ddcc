// astr.scr, the real screensaver under Wine, as the platform's host and a
// person use it: its full-screen run, its preview inside a host's window,
// its configuration and -init runs, the picture it shows, and every failure
// path (in astr_faulty.scr, the same sources with their fallible calls
// rerouted to a double).
#include <gtest/gtest.h>
#include <windows.h>
#include <GL/gl.h>

#include <algorithm>
#include <deque>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "swarm_colours.h"
#include "gl_window_wgl.h"
#include "registry.h"
#include "ui_driver.h"

namespace {

const std::string astrScr = ui::windowsPath(ASTR_SCR);
const std::string faultyScr = ui::windowsPath(ASTR_FAULTY_SCR);
const char windowName[] = "Astrelle";
const char settingsKey[] = "Software\\Brightloom\\Astrelle";
constexpr DWORD calibrationTimeoutMs = 60000;
constexpr DWORD glowTimeoutMs = 20000;
constexpr DWORD probeTimeoutMs = 3000;

// The seven settings as -init writes them, in its order.
const std::pair<const char*, int32_t> defaults[] = {{"Music", 1},     {"Resolution", 0}, {"glFinish", 0},
                                                    {"OpenGLInst", 1}, {"Truecolor", 0},  {"Deepdepth", 0},
                                                    {"FixedSync", 0}};

// The key holding the defaults, changed by the given settings.
void storeSettings(const std::vector<std::pair<const char*, int32_t>>& changes = {})
{
    ui::RegistryValues values;
    for (const auto& [name, value] : defaults)
        values[name] = ui::dwordValue(value);
    for (const auto& [name, value] : changes)
        values[name] = ui::dwordValue(value);
    ui::setUserKey(settingsKey, values);
}

// The lines of the log that start with prefix, in order.
std::vector<std::string> linesStartingWith(const std::vector<std::string>& log, const std::string& prefix)
{
    std::vector<std::string> found;
    for (const std::string& line : log)
        if (line.rfind(prefix, 0) == 0)
            found.push_back(line);
    return found;
}

std::vector<std::string> lines(const std::string& text)
{
    std::vector<std::string> result;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);)
        result.push_back(line);
    return result;
}

// The program's own top-level window, shown or not.
HWND findSaverWindow(const ui::Program& program, DWORD timeoutMs = ui::defaultTimeoutMs)
{
    return ui::waitForWindow(program, windowName, windowName, timeoutMs);
}

bool stillRunning(const ui::Program& program, DWORD milliseconds)
{
    ui::pumpMessages(milliseconds);
    return WaitForSingleObject(program.process, 0) == WAIT_TIMEOUT;
}

// A window of the test's own, standing in for the host's preview area or
// its configuration page: a pop-up of the given size, with one child or none.
struct HostWindow {
    HWND window = nullptr;
    HWND child = nullptr;
};

HostWindow createHost(int width, int height, bool withChild = true)
{
    HostWindow host;
    host.window = CreateWindowExA(0, "Static", "host", WS_POPUP | WS_VISIBLE, 10, 10, width, height, nullptr,
                                  nullptr, GetModuleHandleA(nullptr), nullptr);
    if (withChild)
        host.child = CreateWindowExA(0, "Static", "page", WS_CHILD | WS_VISIBLE, 0, 0, 20, 20, host.window,
                                     nullptr, GetModuleHandleA(nullptr), nullptr);
    ui::pumpMessages(50);
    return host;
}

std::string handleArgument(HWND window)
{
    return std::to_string(static_cast<long long>(reinterpret_cast<intptr_t>(window)));
}

// The cursor the window's program sets when the pointer is over the window.
HCURSOR cursorSetBy(HWND window)
{
    SendMessageA(window, WM_SETCURSOR, reinterpret_cast<WPARAM>(window), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    CURSORINFO info{};
    info.cbSize = sizeof info;
    GetCursorInfo(&info);
    return info.hCursor;
}

HWND saverChildOf(HWND host, DWORD timeoutMs = ui::defaultTimeoutMs)
{
    HWND child = nullptr;
    ui::waitUntil([&] { return (child = FindWindowExA(host, nullptr, windowName, windowName)) != nullptr; },
                  timeoutMs);
    return child;
}

class Astr : public ::testing::Test {
protected:
    void SetUp() override
    {
        storeSettings();
        folder = ui::makeScratchFolder("astr-");
        ASSERT_FALSE(folder.empty());
        log = folder + "\\astr.log";
    }

    // A run a failed assertion left behind would keep later runs from starting.
    void TearDown() override
    {
        for (ui::Program& program : started)
            if (program.process && WaitForSingleObject(program.process, 0) == WAIT_TIMEOUT)
                ui::waitForExit(program, 0);
        ui::removeTree(folder);
        ui::setUserKey(settingsKey, {});
    }

    ui::Program& startSaver(const std::string& arguments)
    {
        started.push_back(ui::start("\"" + astrScr + "\" " + arguments, folder));
        return started.back();
    }

    // The test build, failing the step named (none for "") and logging.
    ui::Program& startFaulty(const std::string& arguments, const char* failStep = "")
    {
        SetEnvironmentVariableA("ASTR_FAIL", failStep);
        SetEnvironmentVariableA("ASTR_LOG", log.c_str());
        started.push_back(ui::start("\"" + faultyScr + "\" " + arguments, folder));
        SetEnvironmentVariableA("ASTR_FAIL", nullptr);
        SetEnvironmentVariableA("ASTR_LOG", nullptr);
        return started.back();
    }

    std::vector<std::string> logLines() { return lines(ui::readTextFile(log)); }

    // Waits until the test build has logged the line; false if it never does.
    bool waitForLogLine(const std::string& line, DWORD timeoutMs = calibrationTimeoutMs)
    {
        return ui::waitUntil([&] {
            const std::vector<std::string> logged = logLines();
            return std::find(logged.begin(), logged.end(), line) != logged.end();
        }, timeoutMs, 100);
    }

    std::deque<ui::Program> started;
    std::string folder;
    std::string log;
};

TEST_F(Astr, FullScreenRunCoversTheScreenOnTop)
{
    ui::Program& program = startSaver("/s");
    HWND window = findSaverWindow(program);
    ASSERT_NE(window, nullptr);
    RECT rect;
    GetWindowRect(window, &rect);
    EXPECT_EQ(rect.left, 0);
    EXPECT_EQ(rect.top, 0);
    EXPECT_EQ(rect.right, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(rect.bottom, GetSystemMetrics(SM_CYSCREEN));
    EXPECT_EQ(GetWindowLongPtrA(window, GWL_STYLE) & (WS_POPUP | WS_CHILD | WS_CAPTION), WS_POPUP);
    EXPECT_TRUE(GetWindowLongPtrA(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_EQ(cursorSetBy(window), nullptr);

    // Alt+F4 and the system menu's close are refused, and so are key codes
    // beyond the keyboard's that end in those of Escape and I.
    ui::pressAltKey(window, VK_F4);
    PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    PostMessageA(window, WM_KEYDOWN, 0x100 + VK_ESCAPE, 1);
    PostMessageA(window, WM_KEYDOWN, 0x100 + 'I', 1);
    EXPECT_TRUE(stillRunning(program, 500));

    // A second full-screen run ends at once and leaves the first alone.
    ui::Program& second = startSaver("/s");
    EXPECT_EQ(ui::waitForExit(second), 0u);
    EXPECT_TRUE(stillRunning(program, 100));

    ui::pressKey(window, VK_ESCAPE);
    EXPECT_EQ(ui::waitForExit(program), 0u);
}

TEST_F(Astr, TheIKeyEndsAFullScreenRun)
{
    ui::Program& program = startSaver("/s");
    HWND window = findSaverWindow(program);
    ASSERT_NE(window, nullptr);
    ui::pressKey(window, 'I');
    EXPECT_EQ(ui::waitForExit(program), 0u);
}

TEST_F(Astr, MouseMovesEndAFullScreenRunOnlyOnceTheSwarmShows)
{
    ui::Program& program = startSaver("/s");
    HWND window = findSaverWindow(program);
    ASSERT_NE(window, nullptr);
    PostMessageA(window, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    EXPECT_TRUE(stillRunning(program, 300));
    ASSERT_FALSE(ui::waitForPicture(program, window, 0)) << "calibration ended before the move could be checked";

    ASSERT_TRUE(ui::waitForPicture(program, window, calibrationTimeoutMs));
    PostMessageA(window, WM_MOUSEMOVE, 0, MAKELPARAM(6, 5));
    EXPECT_EQ(ui::waitForExit(program), 0u);
}

// The swarm crowds the glow now and then, hiding it for seconds at a time,
// so the screen is looked at until it shows all three.
void expectTheSwarmAroundItsGlowIn(HWND window)
{
    RECT rect;
    GetWindowRect(window, &rect);
    const size_t area = static_cast<size_t>(rect.right - rect.left) * (rect.bottom - rect.top);
    ColourCounts shown;
    EXPECT_TRUE(ui::waitUntil([&] {
        shown = countColours(ui::screenPixels(rect));
        return showsTheSwarmAroundItsGlow(shown, area);
    }, glowTimeoutMs, 250))
        << shown.black << " black, " << shown.orangeRed << " orange-red and " << shown.blueGreen
        << " blue-green pixels of " << area;
}

// After calibration: orange-red particles and a blue-green glow on black.
TEST_F(Astr, ShowsTheSwarmAroundItsGlow)
{
    ui::Program& program = startSaver("/s");
    HWND window = findSaverWindow(program);
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(ui::waitForPicture(program, window, calibrationTimeoutMs));
    expectTheSwarmAroundItsGlowIn(window);
    ui::pressKey(window, VK_ESCAPE);
    EXPECT_EQ(ui::waitForExit(program), 0u);
}

struct DisplayCase {
    int32_t resolution, truecolor;
    const char* display;  // how the display answers the change: the test build's step
    const char* mode;     // the display mode asked for
    LONG width, height;   // the window's; 0 for the desktop's
};

class AstrDisplay : public Astr, public ::testing::WithParamInterface<DisplayCase> {};

// The full-screen start-up in its order: the cursor hidden, the system told
// a saver runs, the display mode asked for; then the window, and the
// desktop's mode back after the run.
TEST_P(AstrDisplay, AsksForTheModeSizesTheWindowAndPutsTheDesktopBack)
{
    const DisplayCase& c = GetParam();
    storeSettings({{"Resolution", c.resolution}, {"Truecolor", c.truecolor}});
    DEVMODEA before{};
    before.dmSize = sizeof before;
    EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &before);

    ui::Program& program = startFaulty("/s", c.display);
    HWND window = findSaverWindow(program);
    ASSERT_NE(window, nullptr);
    RECT rect;
    GetWindowRect(window, &rect);
    const LONG width = c.width ? c.width : GetSystemMetrics(SM_CXSCREEN);
    const LONG height = c.height ? c.height : GetSystemMetrics(SM_CYSCREEN);
    EXPECT_EQ((std::vector<LONG>{rect.left, rect.top, rect.right, rect.bottom}),
              (std::vector<LONG>{0, 0, width, height}));
    ui::pressKey(window, VK_ESCAPE);
    EXPECT_EQ(ui::waitForExit(program), 0u);

    std::vector<std::string> startUp;
    for (const std::string& line : logLines())
        if (startUp.size() < 3 && (line.rfind("ShowCursor", 0) == 0 || line.rfind("screensaver", 0) == 0 ||
                                   line.rfind("display mode", 0) == 0))
            startUp.push_back(line);
    char mode[64];
    std::snprintf(mode, sizeof mode, c.mode, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    EXPECT_EQ(startUp, (std::vector<std::string>{"ShowCursor 0", "screensaver running 1", mode}));
    DEVMODEA after{};
    after.dmSize = sizeof after;
    EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &after);
    EXPECT_EQ(after.dmPelsWidth, before.dmPelsWidth);
    EXPECT_EQ(after.dmPelsHeight, before.dmPelsHeight);
    EXPECT_EQ(after.dmBitsPerPel, before.dmBitsPerPel);

    // The settings were read before, each once, in the load's order.
    EXPECT_EQ(linesStartingWith(logLines(), "RegQueryValueEx"),
              (std::vector<std::string>{"RegQueryValueEx glFinish", "RegQueryValueEx OpenGLInst",
                                        "RegQueryValueEx Resolution", "RegQueryValueEx Music",
                                        "RegQueryValueEx FixedSync", "RegQueryValueEx Truecolor",
                                        "RegQueryValueEx Deepdepth"}));
}

// A display without the mode asked for leaves its own, and the window covers
// all of it: a saver must leave nothing of the desktop on view. The desktop's
// size is %d x %d in a mode.
INSTANTIATE_TEST_SUITE_P(
    Settings, AstrDisplay,
    ::testing::Values(DisplayCase{1, 1, "modeTaken", "display mode 640 x 480, 16 bits", 640, 480},
                      DisplayCase{2, 2, "modeTaken", "display mode 320 x 240, 32 bits", 320, 240},
                      DisplayCase{1, 1, "modeRefused", "display mode 640 x 480, 16 bits", 0, 0},
                      DisplayCase{3, 3, "", "display mode %d x %d, 0 bits", 0, 0}));

// An 8-bit format that needs a palette gets one made from its bit fields.
TEST_F(Astr, PaletteFormatsGetTheirPalette)
{
    ui::Program& program = startFaulty("/s", "palette332");
    HWND window = findSaverWindow(program);
    ASSERT_NE(window, nullptr);
    ui::pressKey(window, VK_ESCAPE);
    EXPECT_EQ(ui::waitForExit(program), 0u);
    const std::vector<std::string> logged = logLines();
    EXPECT_NE(std::find(logged.begin(), logged.end(), "palette 256 entries: 7 = 255 0 0, 255 = 255 255 255"),
              logged.end());
}

TEST_F(Astr, PreviewDrawsInTheHostsWindowAndEndsOnEscape)
{
    HostWindow host = createHost(200, 150);
    ui::Program& program = startFaulty("/p " + handleArgument(host.window));
    HWND preview = saverChildOf(host.window);
    ASSERT_NE(preview, nullptr);
    RECT rect;
    GetWindowRect(preview, &rect);
    EXPECT_EQ(rect.right - rect.left, 200);
    EXPECT_EQ(rect.bottom - rect.top, 150);
    // The full-screen run sets no cursor; a preview its arrow (a handle of its own).
    EXPECT_NE(cursorSetBy(preview), nullptr);

    // Neither the I key nor the mouse ends a preview, not even once the swarm shows.
    ASSERT_TRUE(waitForLogLine("SwapBuffers after 256 frames"));
    PostMessageA(preview, WM_KEYDOWN, 'I', 1);
    PostMessageA(preview, WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
    EXPECT_TRUE(stillRunning(program, 500));

    PostMessageA(preview, WM_KEYDOWN, VK_ESCAPE, 1);
    EXPECT_EQ(ui::waitForExit(program), 0u);
    DestroyWindow(host.window);
}

// Whether this Wine shows at all what OpenGL draws in a child window: a child
// of the test's own, cleared to green, has to reach the screen.
bool glChildWindowsReachTheScreen()
{
    HostWindow host = createHost(64, 48, false);
    WglWindow probe = openWglWindow("probe", 64, 48, host.window);
    EXPECT_NE(probe.context, nullptr);
    // Draws after each look, for the next look, a poll later, to find on the screen.
    const bool shown = probe.context && ui::waitUntil([&] {
        RECT rect;
        GetWindowRect(probe.window, &rect);
        const std::vector<uint32_t> pixels = ui::screenPixels(rect);
        if (static_cast<size_t>(std::count(pixels.begin(), pixels.end(), 0x00FF00u)) > pixels.size() / 2)
            return true;
        glClearColor(0.0f, 1.0f, 0.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
        SwapBuffers(probe.dc);
        return false;
    }, probeTimeoutMs, 100);
    closeWglWindow(probe);
    DestroyWindow(host.window);
    return shown;
}

// Once the swarm shows, the host's area holds its picture.
TEST_F(Astr, PreviewShowsTheSwarmInTheHostsWindow)
{
    if (!glChildWindowsReachTheScreen())
        GTEST_SKIP() << "this Wine does not show what OpenGL draws in a child window (a green one of the "
                        "test's own stayed unseen), so the preview's picture cannot be looked at";
    HostWindow host = createHost(320, 240, false);
    ui::Program& program = startFaulty("/p " + handleArgument(host.window));
    HWND preview = saverChildOf(host.window);
    ASSERT_NE(preview, nullptr);
    ASSERT_TRUE(waitForLogLine("SwapBuffers after 256 frames"));
    expectTheSwarmAroundItsGlowIn(preview);
    DestroyWindow(host.window);
    EXPECT_EQ(ui::waitForExit(program), 0u);
}

struct HostEndCase {
    const char* name;
    bool closesFirst;  // the host closes the preview, then destroys it
};

class AstrPreviewEnd : public Astr, public ::testing::WithParamInterface<HostEndCase> {};

// A host that destroys its preview window ends the run, and every resource
// is released once, in the teardown's order, also when a close came first.
// A preview plays no sound, whatever Music says.
TEST_P(AstrPreviewEnd, ReleasesEverythingOnce)
{
    HostWindow host = createHost(160, 120);
    ui::Program& program = startFaulty("/p " + handleArgument(host.window));
    HWND preview = saverChildOf(host.window);
    ASSERT_NE(preview, nullptr);
    // Once the swarm shows, calibration has already put the priority back.
    const std::string shown = "SwapBuffers after 256 frames";
    ASSERT_TRUE(waitForLogLine(shown));
    if (GetParam().closesFirst) {
        // Both wait in the queue; the quit the close posts comes only after them.
        PostMessageA(preview, WM_CLOSE, 0, 0);
        PostMessageA(preview, WM_DESTROY, 0, 0);
    } else {
        DestroyWindow(host.window);
    }
    EXPECT_EQ(ui::waitForExit(program), 0u);
    DestroyWindow(host.window);

    // The cursor is also shown on every loss of activation, so it is left out.
    const std::vector<std::string> teardown = {"SetPriorityClass normal", "screensaver running 0",
                                               "wglMakeCurrent none",     "wglDeleteContext",
                                               "display mode restored",   "FreeLibrary",
                                               "free particleBuffer",     "PostQuitMessage"};
    const std::vector<std::string> logged = logLines();
    const auto afterShown = std::find(logged.begin(), logged.end(), shown);
    ASSERT_NE(afterShown, logged.end());
    std::vector<std::string> released;
    std::copy_if(afterShown, logged.end(), std::back_inserter(released), [&](const std::string& line) {
        return std::find(teardown.begin(), teardown.end(), line) != teardown.end();
    });
    EXPECT_EQ(released, teardown);
    EXPECT_EQ(linesStartingWith(logged, "PlaySound"), std::vector<std::string>());
}

INSTANTIATE_TEST_SUITE_P(Hosts, AstrPreviewEnd,
                         ::testing::Values(HostEndCase{"Destroys", false}, HostEndCase{"ClosesThenDestroys", true}),
                         [](const auto& info) { return std::string(info.param.name); });

// A run that ends before its main loop begins shows the statistics: from the
// program's own module, since the class's module may be the GL library, by
// then released.
TEST_F(Astr, StatisticsComeFromTheProgramItself)
{
    HostWindow host = createHost(160, 120);
    ui::Program& program = startFaulty("/p " + handleArgument(host.window), "closedAtStart");
    EXPECT_EQ(ui::waitForExit(program), 0u);
    const std::vector<std::string> logged = logLines();
    EXPECT_NE(std::find(logged.begin(), logged.end(), "DialogBoxParam ASTR_STS shown"), logged.end());
    DestroyWindow(host.window);
}

struct ConfigCase {
    const char* form;  // how the host passes its window; "" for no switch at all
    bool hostHasChild;
    bool owned;
};

class AstrConfigOwner : public Astr, public ::testing::WithParamInterface<ConfigCase> {};

// The dialog belongs to the first child of the host's window; a dialog
// given a child window as owner is owned by that child's top-level window.
// A host without children gives no owner.
TEST_P(AstrConfigOwner, DialogBelongsToTheHostsFirstChild)
{
    const ConfigCase& c = GetParam();
    HostWindow host = createHost(300, 200, c.hostHasChild);
    ui::Program& program = startSaver(*c.form ? c.form + handleArgument(host.window) : "");
    HWND dialog = ui::waitForWindow(program, "#32770", windowName);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(GetWindow(dialog, GW_OWNER), c.owned ? GetAncestor(host.child, GA_ROOT) : nullptr);
    PostMessageA(dialog, WM_CLOSE, 0, 0);
    EXPECT_EQ(ui::waitForExit(program), 0u);
    DestroyWindow(host.window);
}

INSTANTIATE_TEST_SUITE_P(Forms, AstrConfigOwner,
                         ::testing::Values(ConfigCase{"/c ", true, true}, ConfigCase{"/c:", true, true},
                                           ConfigCase{"-c:", true, true}, ConfigCase{"/c:", false, false},
                                           ConfigCase{"", true, false}),
                         [](const auto& info) { return std::to_string(info.index); });

TEST_F(Astr, InitWritesTheSevenDefaults)
{
    ui::setUserKey(settingsKey, {});
    ui::Program& program = startSaver("-init");
    EXPECT_EQ(ui::waitForExit(program), 0u);
    ui::RegistryValues written;
    for (const auto& [name, value] : defaults)
        written[name] = ui::dwordValue(value);
    EXPECT_EQ(ui::readUserKey(settingsKey), written);
}

// A write that fails stops neither the later ones nor the run.
TEST_F(Astr, InitCarriesOnPastFailedWrites)
{
    ui::Program& program = startFaulty("-init", "RegSetValueEx");
    EXPECT_EQ(ui::waitForExit(program), 0u);
    std::vector<std::string> tried;
    for (const auto& [name, value] : defaults)
        tried.push_back(std::string("RegSetValueEx ") + name);
    EXPECT_EQ(linesStartingWith(logLines(), "RegSetValueEx"), tried);
}

struct CalibrationCase {
    const char* switches;
    int frames;
    int32_t music;
    int32_t glFinish;
};

class AstrCalibration : public Astr, public ::testing::WithParamInterface<CalibrationCase> {};

// The two primings, then nothing until the last calibration frame; the
// sound, when asked for, from the end of calibration to the close; and once
// the swarm shows, a wait for the pipeline after every frame only when the
// glFinish setting asks for it.
TEST_P(AstrCalibration, FirstPresentedFrameEndsCalibration)
{
    const CalibrationCase& c = GetParam();
    storeSettings({{"Music", c.music}, {"glFinish", c.glFinish}});
    ui::Program& program = startFaulty(c.switches);
    HWND window = findSaverWindow(program);
    ASSERT_NE(window, nullptr);
    std::vector<std::string> presented;
    ui::waitUntil([&] {
        presented = linesStartingWith(logLines(), "SwapBuffers");
        return presented.size() >= 3;
    }, 2 * calibrationTimeoutMs, 200);
    // A few frames more, with their waits for the pipeline when asked for.
    if (c.glFinish != 0)
        EXPECT_TRUE(waitForLogLine("glFinish after frame " + std::to_string(c.frames + 2)));
    else
        ui::pumpMessages(200);
    ui::pressKey(window, VK_ESCAPE);
    EXPECT_EQ(ui::waitForExit(program), 0u);
    EXPECT_EQ(presented, (std::vector<std::string>{"SwapBuffers after 0 frames", "SwapBuffers after 0 frames",
                                                   "SwapBuffers after " + std::to_string(c.frames) + " frames"}));

    const std::vector<std::string> played = {"PlaySound astr.wav", "PlaySound purge"};
    EXPECT_EQ(linesStartingWith(logLines(), "PlaySound"), c.music == 1 ? played : std::vector<std::string>());

    std::vector<std::string> finished;
    for (int frame = c.frames; c.glFinish != 0 && frame < c.frames + 3; ++frame)
        finished.push_back("glFinish after frame " + std::to_string(frame));
    EXPECT_EQ(linesStartingWith(logLines(), "glFinish"), finished);
}

INSTANTIATE_TEST_SUITE_P(Switches, AstrCalibration,
                         ::testing::Values(CalibrationCase{"/s", 256, 1, 0}, CalibrationCase{"-prec", 2048, 0, 2},
                                           CalibrationCase{"/s", 256, 2, 0}),  // only 1 plays
                         [](const auto& info) {
                             return std::to_string(info.param.frames) + "_music" + std::to_string(info.param.music);
                         });

struct FailureCase {
    const char* step;
    const char* arguments;  // "%host%" stands for a preview host's handle
    const char* text;
    const char* owner;      // "none", "host" or "saver"
};

class AstrFailure : public Astr, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(AstrFailure, ShowsItsMessageAndEndsWithMinusOne)
{
    const FailureCase& c = GetParam();
    HostWindow host = createHost(120, 90);
    std::string arguments = c.arguments;
    const size_t at = arguments.find("%host%");
    if (at != std::string::npos)
        arguments.replace(at, 6, handleArgument(host.window));
    ui::Program& program = *c.step ? startFaulty(arguments, c.step) : startSaver(arguments);
    ASSERT_NE(program.process, nullptr);

    HWND box = ui::waitForWindow(program, "#32770", "astr-Error", calibrationTimeoutMs);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(ui::messageBoxText(box), c.text);
    EXPECT_EQ(ui::messageBoxIcon(box), 0u);
    EXPECT_EQ(ui::messageBoxButtons(box), std::vector<std::string>{"OK"});
    const std::string owner = c.owner;
    HWND expected = owner == "host"    ? host.window
                    : owner == "saver" ? findSaverWindow(program, 0)
                                       : nullptr;
    if (owner == "saver") {
        EXPECT_NE(expected, nullptr);
    }
    EXPECT_EQ(GetWindow(box, GW_OWNER), expected);

    ui::pressButton(box, IDOK);
    EXPECT_EQ(ui::waitForExit(program), 0xFFFFFFFFu);
    DestroyWindow(host.window);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Steps, AstrFailure, ::testing::Values(
    FailureCase{"RegisterClass", "/s", "Unable to register class.", "none"},
    FailureCase{"malloc", "/p %host%", "Insufficient memory.", "host"},
    FailureCase{"CreateWindow", "/p %host%", "Unable to create preview window.", "host"},
    FailureCase{"CreateWindow", "/s", "Unable to create fullscreen window.", "none"},
    FailureCase{"GetDC", "/p %host%", "Unable to create window.", "host"},
    FailureCase{"ChoosePixelFormat", "/s", "Unable to setup pixelformat.", "none"},
    FailureCase{"SetPixelFormat", "/p %host%", "Unable to setup pixelformat.", "host"},
    FailureCase{"palette", "/s", "Unable to setup palette.", "none"},
    FailureCase{"wglCreateContext", "/s", "Unable to create an opengl rendercontext.", "none"},
    FailureCase{"wglMakeCurrent", "/s",
                "Unable to make the rendercontext current.\r\nPossible another application is still using opengl...",
                "none"},
    FailureCase{"setupGlState", "/p %host%", "Unable to init opengl state.", "host"},
    FailureCase{"realloc", "/s",
                "Bad, bad Windows!\r\nMemorymanagment error. Resizing failed. You should go to search your windows-cd...",
                "saver"},
    // The real program, with preview handles that name no window.
    FailureCase{"", "/p 0", "Unable to create preview window.", "none"},
    FailureCase{"", "/p 4294967298", "Unable to create preview window.", "none"},
    FailureCase{"", "/p -3", "Unable to create preview window.", "none"}
), [](const auto& info) { return std::to_string(info.index) + "_" + (*info.param.step ? info.param.step : "none"); });
// clang-format on

// The working set stays flat once the swarm shows; ASTR_SOAK_SECONDS sets
// how long it is watched (tools/soak.sh runs it for ten minutes).
TEST_F(Astr, RunsWithoutGrowing)
{
    char seconds[16] = "30";
    GetEnvironmentVariableA("ASTR_SOAK_SECONDS", seconds, sizeof seconds);
    ui::Program& program = startSaver("/s");
    HWND window = findSaverWindow(program);
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(ui::waitForPicture(program, window, calibrationTimeoutMs));

    std::vector<size_t> workingSet;
    for (int second = 0; second < std::atoi(seconds) && stillRunning(program, 1000); ++second)
        workingSet.push_back(ui::workingSet(program));
    ASSERT_GE(workingSet.size(), 2u);
    const size_t first = workingSet.front();
    const size_t largest = *std::max_element(workingSet.begin(), workingSet.end());
    std::printf("working set %zu KiB at the first presented frame, at most %zu KiB over %zu s\n", first / 1024,
                largest / 1024, workingSet.size());
    EXPECT_LT(largest - first, size_t{2} << 20) << "the working set grew by more than 2 MiB";

    ui::pressKey(window, VK_ESCAPE);
    EXPECT_EQ(ui::waitForExit(program), 0u);
}

// Other programs can send the saver anything at any time. Its creation sent
// again makes no second context and leaves the particle buffer alone; the
// cursor, hidden again once activation is back, has not been counted up by
// the repeated losses; the picture goes on; and after Escape, messages still
// in the queue reach a window already torn down.
TEST_F(Astr, MessagesFromOtherProgramsLeaveTheRunAsItWas)
{
    ui::Program& program = startSaver("/s");
    HWND window = findSaverWindow(program);
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(ui::waitForPicture(program, window, calibrationTimeoutMs));
    const size_t before = ui::workingSet(program);
    EXPECT_TRUE(ui::deliver(window, {{ui::Send, WM_CREATE}, {ui::Post, WM_SYSCOMMAND, SC_SCREENSAVE}}));
    EXPECT_TRUE(ui::deliver(window, ui::strayMessages()));

    EXPECT_TRUE(ui::pictureMoves(window, 1000));
    CURSORINFO cursor{};
    cursor.cbSize = sizeof cursor;
    GetCursorInfo(&cursor);
    EXPECT_FALSE(cursor.flags & CURSOR_SHOWING);
    EXPECT_LT(ui::workingSet(program), before + (size_t{2} << 20)) << "the working set grew by more than 2 MiB";

    ui::pressKey(window, VK_ESCAPE);
    ui::deliver(window, {{ui::Post, WM_SIZE}, {ui::Post, WM_PAINT}, {ui::Post, WM_KEYDOWN, VK_ESCAPE},
                         {ui::Post, WM_ACTIVATE, WA_INACTIVE}, {ui::Post, WM_CLOSE}, {ui::Post, WM_DESTROY}});
    EXPECT_EQ(ui::waitForExit(program), 0u);
}

}  // namespace
