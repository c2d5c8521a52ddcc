// vantor, the real program under wine64: its dialog against what a GL
// context of the test's own reports on the same display, its probe window,
// its answers to commands, and every failure path with its message box.
#include <gtest/gtest.h>
#include <windows.h>
#include <GL/gl.h>

#include <cstdio>
#include <string>
#include <vector>

#include "../../vantor/resource.h"
#include "dialog_template.h"
#include "resource_checks.h"
#include "ui_driver.h"

namespace {

const std::string vantorExe = ui::windowsPath(VANTOR_EXE);
const std::string faultyExe = ui::windowsPath(VANTOR_FAULTY_EXE);
const char probeClass[] = "OpenGL Render Window";
const char dialogCaption[] = "void Vantor();";

struct Reference {
    std::string vendor, renderer, version, extensions;
    GLint red, green, blue, alpha, accumRed, accumGreen, accumBlue, accumAlpha, depth, stencil, lights, textureSize;
    bool generic;
};

std::string glText(GLenum name)
{
    const GLubyte* text = glGetString(name);
    return text ? reinterpret_cast<const char*>(text) : "";
}

// The same request vantor makes, on a hidden window of the test's own.
Reference referenceContext()
{
    WNDCLASSA windowClass{};
    windowClass.style = CS_OWNDC;
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "VantorReference";
    RegisterClassA(&windowClass);
    HWND window = CreateWindowExA(0, "VantorReference", "", WS_POPUP, 0, 0, 64, 64, nullptr, nullptr,
                                  windowClass.hInstance, nullptr);
    HDC dc = GetDC(window);
    PIXELFORMATDESCRIPTOR format{};
    format.nSize = sizeof format;
    format.nVersion = 1;
    format.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    const int index = ChoosePixelFormat(dc, &format);
    DescribePixelFormat(dc, index, sizeof format, &format);
    SetPixelFormat(dc, index, &format);
    HGLRC context = wglCreateContext(dc);
    wglMakeCurrent(dc, context);

    Reference r{};
    r.generic = (format.dwFlags & PFD_GENERIC_FORMAT) != 0;
    const std::pair<GLenum, GLint*> integers[] = {
        {GL_RED_BITS, &r.red},           {GL_GREEN_BITS, &r.green},           {GL_BLUE_BITS, &r.blue},
        {GL_ALPHA_BITS, &r.alpha},       {GL_ACCUM_RED_BITS, &r.accumRed},    {GL_ACCUM_GREEN_BITS, &r.accumGreen},
        {GL_ACCUM_BLUE_BITS, &r.accumBlue}, {GL_ACCUM_ALPHA_BITS, &r.accumAlpha}, {GL_DEPTH_BITS, &r.depth},
        {GL_STENCIL_BITS, &r.stencil},   {GL_MAX_LIGHTS, &r.lights},          {GL_MAX_TEXTURE_SIZE, &r.textureSize}};
    for (const auto& [name, value] : integers)
        glGetIntegerv(name, value);
    r.vendor = glText(GL_VENDOR);
    r.renderer = glText(GL_RENDERER);
    r.version = glText(GL_VERSION);
    r.extensions = glText(GL_EXTENSIONS);

    wglMakeCurrent(nullptr, nullptr);
    wglDeleteContext(context);
    ReleaseDC(window, dc);
    DestroyWindow(window);
    return r;
}

std::vector<std::string> split(const std::string& text, const std::string& separator)
{
    std::vector<std::string> parts;
    size_t start = 0;
    for (size_t at; (at = text.find(separator, start)) != std::string::npos; start = at + separator.size())
        parts.push_back(text.substr(start, at - start));
    parts.push_back(text.substr(start));
    return parts;
}

HWND findProbeWindow(const ui::Program& program)
{
    HWND window = nullptr;
    while ((window = FindWindowExA(nullptr, window, probeClass, probeClass)) != nullptr) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == program.id)
            return window;
    }
    return nullptr;
}

// Starts vantor and waits for its dialog, watching the probe window on the way.
HWND startAndWatch(ui::Program& program, bool& probeEverVisible, const std::string& exe = vantorExe)
{
    program = ui::start("\"" + exe + "\"");
    probeEverVisible = false;
    HWND dialog = nullptr;
    ui::waitUntil([&] {
        if (HWND probe = findProbeWindow(program))
            probeEverVisible |= IsWindowVisible(probe) || (GetWindowLongPtrA(probe, GWL_STYLE) & WS_VISIBLE);
        return (dialog = ui::waitForWindow(program, "#32770", dialogCaption, 0)) != nullptr;
    }, ui::defaultTimeoutMs, 5);
    return dialog;
}

}  // namespace

// Also after other programs have sent the dialog and the hidden window
// whatever any window may get, the dialog's initialisation and the window's
// creation included: nothing shown is lost, and nothing grows.
TEST(Vantor, ShowsWhatTheContextReports)
{
    const Reference r = referenceContext();
    ui::Program program;
    bool probeEverVisible = true;
    HWND dialog = startAndWatch(program, probeEverVisible);
    ASSERT_NE(dialog, nullptr);
    const size_t before = ui::workingSet(program);
    EXPECT_TRUE(ui::deliver(dialog, ui::strayMessages()));
    EXPECT_TRUE(ui::deliver(findProbeWindow(program), ui::strayMessages()));
    EXPECT_TRUE(ui::deliver(findProbeWindow(program), {{ui::Send, WM_CREATE}}));

    std::string version = r.version;  // its first blank shows as a line break
    const size_t blank = version.find(' ');
    if (blank != std::string::npos)
        version.replace(blank, 1, "\r\n");
    EXPECT_EQ(ui::itemText(dialog, IDC_ACCELERATION), r.generic ? "No, Software" : "Yes, Hardware");
    EXPECT_EQ(ui::itemText(dialog, IDC_VENDOR), r.vendor);
    EXPECT_EQ(ui::itemText(dialog, IDC_RENDERER), r.renderer);
    EXPECT_EQ(ui::itemText(dialog, IDC_VERSION), version);
    EXPECT_EQ(ui::itemText(dialog, IDC_MAX_TEXTURE_SIZE),
              std::to_string(r.textureSize) + " x " + std::to_string(r.textureSize));

    const std::pair<int, GLint> numbers[] = {
        {IDC_RED_BITS, r.red},
        {IDC_GREEN_BITS, r.green},
        {IDC_BLUE_BITS, r.blue},
        {IDC_ALPHA_BITS, r.alpha},
        {IDC_COLOR_BITS, r.red + r.green + r.blue + r.alpha},
        {IDC_ACCUM_RED_BITS, r.accumRed},
        {IDC_ACCUM_GREEN_BITS, r.accumGreen},
        {IDC_ACCUM_BLUE_BITS, r.accumBlue},
        {IDC_ACCUM_ALPHA_BITS, r.accumAlpha},
        {IDC_ACCUM_BITS, r.accumRed + r.accumGreen + r.accumBlue + r.accumAlpha},
        {IDC_DEPTH_BITS, r.depth},
        {IDC_STENCIL_BITS, r.stencil},
        {IDC_MAX_LIGHTS, r.lights},
    };
    for (const auto& [id, value] : numbers)
        EXPECT_EQ(ui::itemText(dialog, id), std::to_string(value)) << "control " << id;

    std::vector<std::string> names = split(r.extensions, " ");
    if (!names.empty() && names.back().empty())
        names.pop_back();  // the closing blank
    EXPECT_GT(names.size(), 10u);
    EXPECT_EQ(split(ui::itemText(dialog, IDC_EXTENSIONS), "\r\n"), names);

    HWND probe = findProbeWindow(program);
    ASSERT_NE(probe, nullptr) << "the probe window should exist while the dialog is open";
    EXPECT_EQ(GetWindow(dialog, GW_OWNER), probe);

    // Enter and Escape, as the dialog manager sends them, leave it open.
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    ui::pressKey(dialog, VK_ESCAPE);
    ui::pressKey(dialog, VK_RETURN);
    ui::pumpMessages(800);
    EXPECT_TRUE(IsWindowVisible(dialog));

    EXPECT_LT(ui::workingSet(program), before + (size_t{2} << 20)) << "the working set grew by more than 2 MiB";

    PostMessageA(dialog, WM_CLOSE, 0, 0);
    EXPECT_EQ(ui::waitForExit(program), 0u);
    EXPECT_FALSE(probeEverVisible);
}

TEST(Vantor, CommandTenEndsTheDialog)
{
    ui::Program program;
    bool probeEverVisible = true;
    HWND dialog = startAndWatch(program, probeEverVisible);
    ASSERT_NE(dialog, nullptr);
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_CLOSE_COMMAND, 0), 0);
    EXPECT_EQ(ui::waitForExit(program), 0u);
    EXPECT_FALSE(probeEverVisible);
}

struct FailureCase {
    const char* step;
    const char* caption;
    const char* text;
    bool ownedByProbe;
    const char* log;  // what is released, in order, up to the message box
};

class VantorFailure : public ::testing::TestWithParam<FailureCase> {};

TEST_P(VantorFailure, ShowsItsMessageAfterReleasingWhatItHeld)
{
    const FailureCase& c = GetParam();
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::string log = std::string(temp) + "vantor-" + c.step + ".log";
    DeleteFileA(log.c_str());
    SetEnvironmentVariableA("VANTOR_FAIL", c.step);
    SetEnvironmentVariableA("VANTOR_LOG", log.c_str());
    ui::Program program = ui::start("\"" + faultyExe + "\"");
    SetEnvironmentVariableA("VANTOR_FAIL", nullptr);
    SetEnvironmentVariableA("VANTOR_LOG", nullptr);
    ASSERT_NE(program.process, nullptr);

    HWND box = ui::waitForWindow(program, "#32770", c.caption);
    ASSERT_NE(box, nullptr) << "no box captioned " << c.caption;
    EXPECT_EQ(ui::messageBoxText(box), c.text);
    EXPECT_EQ(ui::messageBoxIcon(box), UINT{MB_ICONHAND});
    EXPECT_EQ(ui::messageBoxButtons(box), std::vector<std::string>{"OK"});
    HWND owner = GetWindow(box, GW_OWNER);
    if (c.ownedByProbe)
        EXPECT_EQ(owner, findProbeWindow(program));
    else
        EXPECT_EQ(owner, nullptr);
    EXPECT_EQ(ui::waitForWindow(program, "#32770", dialogCaption, 0), nullptr);

    ui::pressButton(box, IDOK);
    EXPECT_EQ(ui::waitForExit(program), 0u);
    EXPECT_EQ(ui::readTextFile(log), c.log);
    DeleteFileA(log.c_str());
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Steps, VantorFailure, ::testing::Values(
    FailureCase{"RegisterClass", "Fatal", "RegisterClass() failed.", false, "MessageBox\n"},
    FailureCase{"CreateWindow", "OpenGL Render Window", "Unable to create window.", false, "MessageBox\n"},
    FailureCase{"GetDC", "Fatal", "GetDC() failed.", true, "MessageBox\n"},
    FailureCase{"ChoosePixelFormat", "OpenGL Render Window",
                "ChoosePixelFormat() failed.\nChange your colordepth to 32-bit or 16.7 Mio colors.", false,
                "ReleaseDC\nMessageBox\n"},
    FailureCase{"SetPixelFormat", "OpenGL Render Window",
                "SetPixelFormat() failed.\nChange your colordepth to 32-bit or 16.7 Mio colors.", false,
                "ReleaseDC\nMessageBox\n"},
    FailureCase{"wglCreateContext", "OpenGL Render Window",
                "wglCreateContext() failed.\nCan't create OpenGL Rederingcontext.", false, "ReleaseDC\nMessageBox\n"},
    FailureCase{"wglMakeCurrent", "OpenGL Render Window",
                "wglMakeCurrent() failed.\nPossible another application is using OpenGL.", false,
                "ReleaseDC\nwglDeleteContext\nMessageBox\n"}
), [](const auto& info) { return info.param.step; });
// clang-format on

TEST(Vantor, StringsTheContextDoesNotGiveShowEmpty)
{
    SetEnvironmentVariableA("VANTOR_FAIL", "glGetString");
    ui::Program program;
    bool probeEverVisible = true;
    HWND dialog = startAndWatch(program, probeEverVisible, faultyExe);
    SetEnvironmentVariableA("VANTOR_FAIL", nullptr);
    ASSERT_NE(dialog, nullptr);
    for (int id : {IDC_VENDOR, IDC_RENDERER, IDC_VERSION, IDC_EXTENSIONS})
        EXPECT_EQ(ui::itemText(dialog, id), "") << "control " << id;
    EXPECT_NE(ui::itemText(dialog, IDC_RED_BITS), "");
    PostMessageA(dialog, WM_CLOSE, 0, 0);
    EXPECT_EQ(ui::waitForExit(program), 0u);
}

TEST(VantorResources, DialogIsBuiltAsListed)
{
    ui::DialogTemplate dialog;
    ASSERT_TRUE(ui::readDialogTemplate(vantorExe, "IDD_DLG", dialog));
    EXPECT_TRUE(dialog.extended);
    EXPECT_EQ(dialog.caption, dialogCaption);
    EXPECT_EQ(dialog.typeface, "Helv");
    EXPECT_EQ(dialog.pointSize, 8);
    EXPECT_EQ(dialog.style, static_cast<DWORD>(WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME |
                                               DS_CENTER | DS_SETFONT));
    EXPECT_EQ((std::vector<short>{dialog.x, dialog.y, dialog.cx, dialog.cy}), (std::vector<short>{44, 12, 248, 204}));

    const DWORD child = WS_CHILD | WS_VISIBLE;
    const DWORD group = child | BS_GROUPBOX | WS_DISABLED;
    const DWORD label = child | SS_RIGHT | WS_GROUP;
    const DWORD field = child | ES_READONLY | ES_AUTOHSCROLL;
    const DWORD twoLines = field | ES_MULTILINE;
    const DWORD number = field | ES_MULTILINE | ES_RIGHT;
    const DWORD list = child | ES_MULTILINE | ES_READONLY | ES_OEMCONVERT | WS_HSCROLL | WS_VSCROLL;
    struct Row {
        int id;
        DWORD style;
        const char* text;
        short x, y, cx, cy;
    };
    // clang-format off
    const Row rows[] = {
        {101, group, "Acceleration", 8, 4, 72, 20},      {1001, field, "", 16, 12, 56, 8},
        {102, group, "Vendor", 84, 4, 156, 20},          {1002, field, "", 92, 12, 144, 8},
        {103, group, "Driver/Chipset", 8, 28, 232, 20},  {1003, field, "", 16, 36, 220, 8},
        {104, group, "OpenGL Version", 8, 52, 68, 28},   {1004, twoLines, "", 16, 60, 52, 16},
        {105, group, "Max Texture Size", 8, 84, 68, 20}, {1005, field, "", 16, 92, 48, 8},
        {106, group, "Color Buffer", 80, 52, 48, 52},
        {111, label, "Color:", 84, 60, 24, 8},           {1010, number, "", 108, 60, 16, 8},
        {106, label, "Red:", 84, 68, 24, 8},             {1006, number, "", 108, 68, 16, 8},
        {108, label, "Green:", 84, 76, 24, 8},           {1007, number, "", 108, 76, 16, 8},
        {109, label, "Blue:", 84, 84, 24, 8},            {1008, number, "", 108, 84, 16, 8},
        {110, label, "Alpha:", 84, 92, 24, 8},           {1009, number, "", 108, 92, 16, 8},
        {107, group, "Depth Buffer", 132, 52, 48, 28},
        {112, label, "Depth:", 136, 60, 24, 8},          {1011, number, "", 160, 60, 16, 8},
        {113, label, "Stencil:", 136, 68, 24, 8},        {1012, number, "", 160, 68, 16, 8},
        {117, group, "Max Lights", 132, 84, 48, 20},     {1013, field, "", 140, 92, 28, 8},
        {114, group, "Auccum Buffer", 184, 52, 56, 52},
        {115, label, "Red:", 188, 68, 24, 8},            {118, label, "Green:", 188, 76, 24, 8},
        {119, label, "Blue:", 188, 84, 24, 8},           {120, label, "Alpha:", 188, 92, 24, 8},
        {1016, number, "", 212, 68, 16, 8},              {1017, number, "", 212, 76, 16, 8},
        {1018, number, "", 212, 84, 16, 8},              {1019, number, "", 212, 92, 16, 8},
        {125, label, "Accum:", 188, 60, 24, 8},          {1020, number, "", 212, 60, 16, 8},
        {116, group, "Extensions", 8, 108, 232, 84},     {1015, list, "", 12, 116, 232, 80},
    };
    // clang-format on
    ASSERT_EQ(dialog.items.size(), 41u);
    ASSERT_EQ(std::size(rows), 41u);
    for (size_t i = 0; i < dialog.items.size(); ++i) {
        const ui::DialogItem& got = dialog.items[i];
        const Row& want = rows[i];
        SCOPED_TRACE("control " + std::to_string(i + 1) + " (id " + std::to_string(want.id) + ")");
        EXPECT_EQ(got.id, want.id);
        EXPECT_EQ(got.style, want.style);
        EXPECT_EQ(got.exStyle, 0u);
        EXPECT_EQ(got.text, want.text);
        EXPECT_EQ(got.className, want.style & ES_READONLY ? "Edit" : want.style == label ? "Static" : "Button");
        EXPECT_EQ((std::vector<short>{got.x, got.y, got.cx, got.cy}),
                  (std::vector<short>{want.x, want.y, want.cx, want.cy}));
        EXPECT_FALSE(got.style & WS_TABSTOP);
    }
}

TEST(VantorResources, IconIsOne32By32ImageIn256Colours)
{
    EXPECT_TRUE(isOne32By32IconIn256Colours(vantorExe, "ICON"));
}
