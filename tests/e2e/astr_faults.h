// Force-included into a test build of the screensaver: reroutes the calls
// that can fail or that release something to astr_faults.cpp (and the
// registry writes and message boxes to astr_settings_faults.cpp), which fail
// the one step named by the environment variable ASTR_FAIL and log the
// releases, the presented frames and the dialogs to the file ASTR_LOG. More
// steps: "closedAtStart" has the new window destroyed at once, as a preview
// host may do while the saver starts; "palette332" describes the chosen
// format as an 8-bit one of 3-3-2 bits that needs a palette, and logs the
// palette made; "modeTaken" and "modeRefused" answer a display mode change
// as a display with and without that mode would, changing nothing. The
// program's own sources stay as they ship.
#pragma once

#include <windows.h>
#include <mmsystem.h>
#include <GL/gl.h>

#include <cstdlib>

#include "astr_settings_faults.h"

ATOM faultyRegisterClassA(const WNDCLASSA* windowClass);
HWND faultyCreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR title, DWORD style, int x, int y, int width,
                           int height, HWND parent, HMENU menu, HINSTANCE instance, LPVOID data);
HDC faultyGetDC(HWND window);
int faultyChoosePixelFormat(HDC deviceContext, const PIXELFORMATDESCRIPTOR* request);
int faultyDescribePixelFormat(HDC deviceContext, int index, UINT size, PIXELFORMATDESCRIPTOR* format);
BOOL faultySetPixelFormat(HDC deviceContext, int index, const PIXELFORMATDESCRIPTOR* format);
HGLRC faultyWglCreateContext(HDC deviceContext);
BOOL faultyWglMakeCurrent(HDC deviceContext, HGLRC context);
BOOL faultyWglDeleteContext(HGLRC context);
BOOL faultySwapBuffers(HDC deviceContext);
void APIENTRY faultyGlFinish();
HPALETTE faultyCreatePalette(const LOGPALETTE* palette);
BOOL faultySetPriorityClass(HANDLE process, DWORD priorityClass);
BOOL faultySystemParametersInfoA(UINT action, UINT parameter, PVOID data, UINT update);
LONG faultyChangeDisplaySettingsA(DEVMODEA* mode, DWORD flags);
BOOL faultyFreeLibrary(HMODULE library);
int faultyShowCursor(BOOL show);
void faultyPostQuitMessage(int exitCode);
BOOL faultyPlaySoundA(LPCSTR sound, HMODULE module, DWORD flags);
INT_PTR faultyDialogBoxParamA(HINSTANCE instance, LPCSTR name, HWND owner, DLGPROC procedure, LPARAM parameter);
int faultySetupGlState(int width, int height);
void faultyDrawFrame();
void* faultyMalloc(size_t size);
void* faultyRealloc(void* block, size_t size);
void faultyFree(void* block);
namespace std {
using ::faultyFree;
using ::faultyMalloc;
using ::faultyRealloc;
}  // namespace std

#define RegisterClassA faultyRegisterClassA
#define CreateWindowExA faultyCreateWindowExA
#define GetDC faultyGetDC
#define ChoosePixelFormat faultyChoosePixelFormat
#define DescribePixelFormat faultyDescribePixelFormat
#define SetPixelFormat faultySetPixelFormat
#define wglCreateContext faultyWglCreateContext
#define wglMakeCurrent faultyWglMakeCurrent
#define wglDeleteContext faultyWglDeleteContext
#define SwapBuffers faultySwapBuffers
#define glFinish faultyGlFinish
#define CreatePalette faultyCreatePalette
#define SetPriorityClass faultySetPriorityClass
#define SystemParametersInfoA faultySystemParametersInfoA
#define ChangeDisplaySettingsA faultyChangeDisplaySettingsA
#define FreeLibrary faultyFreeLibrary
#define ShowCursor faultyShowCursor
#define PostQuitMessage faultyPostQuitMessage
#define PlaySoundA faultyPlaySoundA
#define DialogBoxParamA faultyDialogBoxParamA
#define setupGlState faultySetupGlState
#define drawFrame faultyDrawFrame
#define malloc faultyMalloc
#define realloc faultyRealloc
#define free faultyFree
