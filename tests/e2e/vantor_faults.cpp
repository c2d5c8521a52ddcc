#include <windows.h>
#include <GL/gl.h>

#include "fault_switch.h"

namespace {

bool failing(const char* step)
{
    return faultChosen("VANTOR_FAIL", step);
}

void log(const char* event)
{
    logFault("VANTOR_LOG", event);
}

}  // namespace

ATOM faultyRegisterClassA(const WNDCLASSA* windowClass)
{
    return failing("RegisterClass") ? 0 : RegisterClassA(windowClass);
}

HWND faultyCreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR title, DWORD style, int x, int y, int width,
                           int height, HWND parent, HMENU menu, HINSTANCE instance, LPVOID data)
{
    if (failing("CreateWindow"))
        return nullptr;
    return CreateWindowExA(exStyle, className, title, style, x, y, width, height, parent, menu, instance, data);
}

HDC faultyGetDC(HWND window)
{
    return failing("GetDC") ? nullptr : GetDC(window);
}

int faultyReleaseDC(HWND window, HDC deviceContext)
{
    log("ReleaseDC");
    return ReleaseDC(window, deviceContext);
}

int faultyChoosePixelFormat(HDC deviceContext, const PIXELFORMATDESCRIPTOR* request)
{
    return failing("ChoosePixelFormat") ? 0 : ChoosePixelFormat(deviceContext, request);
}

BOOL faultySetPixelFormat(HDC deviceContext, int index, const PIXELFORMATDESCRIPTOR* format)
{
    return failing("SetPixelFormat") ? FALSE : SetPixelFormat(deviceContext, index, format);
}

HGLRC faultyWglCreateContext(HDC deviceContext)
{
    return failing("wglCreateContext") ? nullptr : wglCreateContext(deviceContext);
}

BOOL faultyWglMakeCurrent(HDC deviceContext, HGLRC context)
{
    return failing("wglMakeCurrent") ? FALSE : wglMakeCurrent(deviceContext, context);
}

BOOL faultyWglDeleteContext(HGLRC context)
{
    log("wglDeleteContext");
    return wglDeleteContext(context);
}

int faultyMessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type)
{
    log("MessageBox");
    return MessageBoxA(owner, text, caption, type);
}

const GLubyte* faultyGlGetString(GLenum name)
{
    return failing("glGetString") ? nullptr : glGetString(name);
}
