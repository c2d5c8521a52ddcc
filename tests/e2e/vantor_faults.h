// Force-included into a test build of vantor's probe: reroutes the probe's
// fallible platform calls to vantor_faults.cpp, which fails the one named by
// the environment variable VANTOR_FAIL and logs the releases and the message
// box to the file VANTOR_LOG. The program's own sources stay as they ship.
#pragma once

#include <windows.h>
#include <GL/gl.h>

ATOM faultyRegisterClassA(const WNDCLASSA* windowClass);
HWND faultyCreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR title, DWORD style, int x, int y, int width,
                           int height, HWND parent, HMENU menu, HINSTANCE instance, LPVOID data);
HDC faultyGetDC(HWND window);
int faultyReleaseDC(HWND window, HDC deviceContext);
int faultyChoosePixelFormat(HDC deviceContext, const PIXELFORMATDESCRIPTOR* request);
BOOL faultySetPixelFormat(HDC deviceContext, int index, const PIXELFORMATDESCRIPTOR* format);
HGLRC faultyWglCreateContext(HDC deviceContext);
BOOL faultyWglMakeCurrent(HDC deviceContext, HGLRC context);
BOOL faultyWglDeleteContext(HGLRC context);
int faultyMessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type);
const GLubyte* faultyGlGetString(GLenum name);

#define RegisterClassA faultyRegisterClassA
#define CreateWindowExA faultyCreateWindowExA
#define GetDC faultyGetDC
#define ReleaseDC faultyReleaseDC
#define ChoosePixelFormat faultyChoosePixelFormat
#define SetPixelFormat faultySetPixelFormat
#define wglCreateContext faultyWglCreateContext
#define wglMakeCurrent faultyWglMakeCurrent
#define wglDeleteContext faultyWglDeleteContext
#define MessageBoxA faultyMessageBoxA
#define glGetString faultyGlGetString
