#include "window.h"

#include <cstddef>

#include "../core/fatal_error.h"
#include "../core/frame_clock.h"
#include "../core/platform.h"
#include "../core/run_mode.h"
#include "../core/settings.h"
#include "../render/saver.h"
#include "main_loop.h"
#include "main_window.h"
#include "pixel_format_request.h"
#include "wgl_context.h"

namespace {

const char windowName[] = "Astrelle";  // class and title; also how a running instance is found
constexpr DWORD fullScreenStyle = WS_POPUP | WS_CLIPSIBLINGS;
constexpr DWORD fullScreenExStyle = WS_EX_TOPMOST | WS_EX_APPWINDOW;
// The display mode record as handed over: up to its dmReserved2, the fields
// every version of the platform knows.
constexpr WORD displayModeSize = offsetof(DEVMODEA, dmPanningWidth);
static_assert(displayModeSize == 148, "the display mode record is handed over as 148 bytes");

WNDCLASSA windowClass;
DEVMODEA displayMode;
RECT windowRect;
UINT screenSaverRunningPrevious;
bool created;
bool tornDown;
// What WM_ACTIVATE, WM_ACTIVATEAPP and WM_NCACTIVATE each last reported:
// each hides the cursor on activation and shows it on the loss.
bool activeByActivate, activeByActivateApp, activeByNcActivate;

LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

void fillWindowClass(HINSTANCE instance)
{
    windowClass.style = CS_OWNDC | CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = settings.OpenGLInst == 1 ? LoadLibraryA("opengl32.dll") : instance;
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.lpszClassName = windowName;
}

void createPreviewWindow()
{
    // A handle that names no window could still be a pseudo-parent (-3 makes
    // a message-only window): nothing would show, and nothing could end it.
    if (!IsWindow(mainWindow))
        FatalError("Unable to create preview window.");
    GetWindowRect(mainWindow, &windowRect);  // the host's preview area
    runStats.windowWidth = windowRect.right - windowRect.left;
    runStats.windowHeight = windowRect.bottom - windowRect.top;
    // The host's window owns the error box when the child cannot be made.
    HWND preview = CreateWindowExA(0, windowName, windowName, WS_CHILD | WS_VISIBLE, 0, 0, runStats.windowWidth,
                                   runStats.windowHeight, mainWindow, nullptr, windowClass.hInstance, nullptr);
    if (!preview)
        FatalError("Unable to create preview window.");
    mainWindow = preview;
    SetForegroundWindow(mainWindow);
    UpdateWindow(mainWindow);
    ShowWindow(mainWindow, SW_SHOW);
}

RECT fullScreenRect(int32_t resolution)
{
    switch (resolution) {
    case 1:
        return RECT{0, 0, 640, 480};
    case 2:
        return RECT{0, 0, 320, 240};
    default:
        return RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    }
}

// The window's place and size for a Resolution, with the run figures' size.
void setFullScreenRect(int32_t resolution)
{
    windowRect = fullScreenRect(resolution);
    AdjustWindowRectEx(&windowRect, fullScreenStyle, FALSE, fullScreenExStyle);
    runStats.windowWidth = windowRect.right - windowRect.left;
    runStats.windowHeight = windowRect.bottom - windowRect.top;
}

void createFullScreenWindow()
{
    ShowCursor(FALSE);
    SystemParametersInfoA(SPI_SETSCREENSAVERRUNNING, TRUE, &screenSaverRunningPrevious, 0);
    setFullScreenRect(settings.Resolution);

    // Best effort: a mode the display cannot take leaves the desktop's, and
    // the window then covers all of it, as with the desktop's own size.
    displayMode = DEVMODEA{};
    displayMode.dmSize = displayModeSize;
    displayMode.dmFields = DM_BITSPERPEL | DM_PELSWIDTH | DM_PELSHEIGHT;
    displayMode.dmBitsPerPel = pixelFormatRequest.cColorBits;
    displayMode.dmPelsWidth = runStats.windowWidth;
    displayMode.dmPelsHeight = runStats.windowHeight;
    if (ChangeDisplaySettingsA(&displayMode, CDS_FULLSCREEN) != DISP_CHANGE_SUCCESSFUL)
        setFullScreenRect(0);

    mainWindow = CreateWindowExA(fullScreenExStyle, windowName, windowName, fullScreenStyle, windowRect.left,
                                 windowRect.top, windowRect.right, windowRect.bottom, nullptr, nullptr,
                                 windowClass.hInstance, nullptr);
    if (!mainWindow)
        FatalError("Unable to create fullscreen window.");
    ShowWindow(mainWindow, SW_SHOW);
    UpdateWindow(mainWindow);
    SetForegroundWindow(mainWindow);
}

void onCreate(HWND window)
{
    // Once: any program can send WM_CREATE again, and a second run would make
    // a second context and refill the particle buffer that calibration has
    // since cut to size.
    if (created)
        return;
    created = true;

    createGlContext(window);
    GetClientRect(window, &windowRect);
    if (setUpSaver(windowRect.right - windowRect.left, windowRect.bottom - windowRect.top) != 0)
        FatalError("Unable to init opengl state.");
}

void onSize(HWND window)
{
    GetClientRect(window, &windowRect);
    resizeSaver(windowRect.right - windowRect.left, windowRect.bottom - windowRect.top);
}

// Puts the desktop back and lets the main loop end. Runs once, whether the
// window is closed, destroyed, or closed and then destroyed by its host.
void tearDown()
{
    if (tornDown)
        return;
    tornDown = true;
    setNormalPriority();
    drawing = 0;
    running = 0;
    SystemParametersInfoA(SPI_SETSCREENSAVERRUNNING, FALSE, &screenSaverRunningPrevious, 0);
    releaseGlContext();
    ChangeDisplaySettingsA(nullptr, 0);
    if (settings.OpenGLInst == 1)
        FreeLibrary(windowClass.hInstance);
    ShowCursor(TRUE);
    endSaver();
    PostQuitMessage(0);
}

// Only a change counts: repeats, which any program can send, would otherwise
// push the cursor's display count without bound.
void onActivation(bool& reportedActive, WPARAM wParam)
{
    const bool active = LOWORD(wParam) != 0;
    if (active == reportedActive)
        return;
    reportedActive = active;
    ShowCursor(active ? FALSE : TRUE);
}

LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        onCreate(window);
        return 0;
    case WM_SIZE:
        onSize(window);
        return 0;
    case WM_ACTIVATE:
        onActivation(activeByActivate, wParam);
        return 0;
    case WM_ACTIVATEAPP:
        onActivation(activeByActivateApp, wParam);
        return 0;
    case WM_NCACTIVATE:
        onActivation(activeByNcActivate, wParam);
        return 0;
    case WM_SETCURSOR:
        SetCursor(runMode == Saver ? nullptr : LoadCursorA(nullptr, IDC_ARROW));
        return 0;
    case WM_PAINT: {
        PAINTSTRUCT paint;
        BeginPaint(window, &paint);
        EndPaint(window, &paint);
        return 0;
    }
    case WM_SYSCOMMAND:
        return 0;  // no screen-saver start, power-off, close or menu from the system
    case WM_KEYDOWN:
        if (!saverKey(wParam, true))  // Escape; I in the full-screen run
            SendMessageA(window, WM_CLOSE, 0, 0);
        return 0;
    case WM_KEYUP:
        saverKey(wParam, false);
        return 0;
    case WM_MOUSEMOVE:
        if (!saverPointer())  // the first move once the full-screen swarm shows
            SendMessageA(mainWindow, WM_CLOSE, 0, 0);
        return 0;
    case WM_QUERYNEWPALETTE:
        realizeGlPalette();
        return 0;
    case WM_PALETTECHANGED:
        if (reinterpret_cast<HWND>(wParam) != window)
            realizeGlPalette();
        return 0;
    case WM_CLOSE:
        drawing = 0;
        running = 0;
        stopSaver();
        tearDown();
        return 0;  // the window stays: it goes with the process
    case WM_DESTROY:
        tearDown();
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

bool startWindow(HINSTANCE instance)
{
    fillWindowClass(instance);
    if (FindWindowA(windowName, windowName))
        return false;  // a full-screen run is already on; previews are children and not found
    if (!RegisterClassA(&windowClass))
        FatalError("Unable to register class.");
    SaverHooks hooks;
    hooks.endingInput = runMode == Saver ? EndingInput::escapeOrI : EndingInput::escape;
    createSaver(hooks);
    if (runMode == Preview)
        createPreviewWindow();
    else
        createFullScreenWindow();
    return true;
}
