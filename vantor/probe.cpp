// vantor: creates a hidden window with an OpenGL context for an ordinary
// double-buffered RGBA format and shows what that context reports.
#include <windows.h>

#include "capability_dialog.h"
#include "capability_report.h"
#include "gl.h"

namespace {

const char windowClassName[] = "OpenGL Render Window";

WNDCLASSA windowClass;
HWND probeWindow;
HDC deviceContext;
PIXELFORMATDESCRIPTOR pixelFormat;
int32_t pixelFormatIndex;
HGLRC renderContext;

// Every failure ends the run with the error icon and exit code 0.
int fail(HWND owner, const char* caption, const char* text)
{
    MessageBoxA(owner, text, caption, MB_OK | MB_ICONHAND);
    return 0;
}

int failAfterDeviceContext(const char* text)
{
    ReleaseDC(probeWindow, deviceContext);
    return fail(nullptr, windowClassName, text);
}

LRESULT CALLBACK probeWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
    case WM_COMMAND:
        return 0;
    case WM_PAINT: {
        PAINTSTRUCT paint;
        BeginPaint(window, &paint);
        EndPaint(window, &paint);
        return 0;
    }
    case WM_CLOSE:
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

// Asks for nothing beyond a double-buffered RGBA window format: the
// platform's choice decides every buffer depth shown.
PIXELFORMATDESCRIPTOR pixelFormatRequest()
{
    PIXELFORMATDESCRIPTOR request{};
    request.nSize = sizeof request;
    request.nVersion = 1;
    request.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    request.iPixelType = PFD_TYPE_RGBA;
    request.iLayerType = PFD_MAIN_PLANE;
    return request;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    windowClass.style = CS_OWNDC | CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = probeWindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.lpszClassName = windowClassName;
    if (!RegisterClassA(&windowClass))
        return fail(nullptr, "Fatal", "RegisterClass() failed.");

    const DWORD style = WS_POPUP | WS_MINIMIZE | WS_CLIPSIBLINGS;  // never WS_VISIBLE: it is never shown
    const DWORD exStyle = WS_EX_APPWINDOW | WS_EX_TOPMOST;
    RECT rect{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    AdjustWindowRectEx(&rect, style, FALSE, exStyle);
    probeWindow = CreateWindowExA(exStyle, windowClassName, windowClassName, style, 0, 0, rect.right - rect.left,
                                  rect.bottom - rect.top, nullptr, nullptr, instance, nullptr);
    if (!probeWindow)
        return fail(nullptr, windowClassName, "Unable to create window.");

    deviceContext = GetDC(probeWindow);
    if (!deviceContext)
        return fail(probeWindow, "Fatal", "GetDC() failed.");

    pixelFormat = pixelFormatRequest();
    pixelFormatIndex = ChoosePixelFormat(deviceContext, &pixelFormat);
    if (pixelFormatIndex == 0)
        return failAfterDeviceContext(
            "ChoosePixelFormat() failed.\nChange your colordepth to 32-bit or 16.7 Mio colors.");
    ZeroMemory(&pixelFormat, sizeof pixelFormat);
    DescribePixelFormat(deviceContext, pixelFormatIndex, sizeof pixelFormat, &pixelFormat);
    if (!SetPixelFormat(deviceContext, pixelFormatIndex, &pixelFormat))
        return failAfterDeviceContext(
            "SetPixelFormat() failed.\nChange your colordepth to 32-bit or 16.7 Mio colors.");
    capabilityReport.accelerationText = accelerationTextFor(pixelFormat.dwFlags);

    renderContext = wglCreateContext(deviceContext);
    if (!renderContext)
        return failAfterDeviceContext("wglCreateContext() failed.\nCan't create OpenGL Rederingcontext.");
    if (!wglMakeCurrent(deviceContext, renderContext)) {
        ReleaseDC(probeWindow, deviceContext);
        wglDeleteContext(renderContext);
        return fail(nullptr, windowClassName, "wglMakeCurrent() failed.\nPossible another application is using OpenGL.");
    }

    queryCapabilities(capabilityReport);
    DialogBoxParamA(instance, "IDD_DLG", probeWindow, capabilityDialogProc, 0);

    // The context is deleted while still current, and the window is only
    // minimised: the end of the process takes the rest.
    ReleaseDC(probeWindow, deviceContext);
    wglDeleteContext(renderContext);
    CloseWindow(probeWindow);
    return 0;
}
