#include "gl_window_wgl.h"

#include "gl_window.h"

WglWindow openWglWindow(const char* title, int width, int height, HWND parent)
{
    WNDCLASSA windowClass{};
    windowClass.style = CS_OWNDC;
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "AstrGlWindow";
    RegisterClassA(&windowClass);  // fails harmlessly when a window before registered it

    WglWindow gl{};
    const DWORD style = (parent ? WS_CHILD : WS_POPUP) | WS_VISIBLE;
    gl.window = CreateWindowExA(0, windowClass.lpszClassName, title, style, 0, 0, width, height, parent, nullptr,
                                windowClass.hInstance, nullptr);
    if (!gl.window)
        return gl;
    gl.dc = GetDC(gl.window);
    PIXELFORMATDESCRIPTOR format{};
    format.nSize = sizeof format;
    format.nVersion = 1;
    format.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    format.iPixelType = PFD_TYPE_RGBA;
    const int index = ChoosePixelFormat(gl.dc, &format);
    if (index == 0 || !SetPixelFormat(gl.dc, index, &format))
        return gl;
    gl.context = wglCreateContext(gl.dc);
    if (gl.context && !wglMakeCurrent(gl.dc, gl.context)) {
        wglDeleteContext(gl.context);
        gl.context = nullptr;
    }
    return gl;
}

void closeWglWindow(WglWindow& gl)
{
    wglMakeCurrent(nullptr, nullptr);
    if (gl.context)
        wglDeleteContext(gl.context);
    if (gl.dc)
        ReleaseDC(gl.window, gl.dc);
    if (gl.window)
        DestroyWindow(gl.window);
    gl = WglWindow{};
}

namespace {

WglWindow opened;

}  // namespace

std::string openGlWindow(const char* title, int width, int height)
{
    opened = openWglWindow(title, width, height);
    if (!opened.window)
        return "CreateWindowEx failed";
    return opened.context ? "" : "no GL context for a double-buffered RGBA pixel format";
}

void closeGlWindow()
{
    closeWglWindow(opened);
}
