#include <windows.h>
#include <mmsystem.h>
#include <GL/gl.h>

#include <cstdarg>
#include <cstdio>
#include <cstdlib>

#include "../../astr/core/particles.h"
#include "../../astr/render/frame_drawing.h"
#include "../../astr/render/gl_state.h"
#include "fault_switch.h"

namespace {

// What a 256-entry logical palette record takes: the one allocation the
// "palette" failure refuses.
constexpr size_t paletteRecordSize = sizeof(LOGPALETTE) + 255 * sizeof(PALETTEENTRY);

long framesDrawn;
int buffersPresented;
int finishesShown;

bool failing(const char* step)
{
    return faultChosen("ASTR_FAIL", step);
}

void log(const char* format, ...)
{
    char event[256];
    va_list args;
    va_start(args, format);
    std::vsnprintf(event, sizeof event, format, args);
    va_end(args);
    logFault("ASTR_LOG", event);
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
    HWND window = CreateWindowExA(exStyle, className, title, style, x, y, width, height, parent, menu, instance, data);
    if (window && failing("closedAtStart"))
        SendMessageA(window, WM_DESTROY, 0, 0);
    return window;
}

HDC faultyGetDC(HWND window)
{
    return failing("GetDC") ? nullptr : GetDC(window);
}

int faultyChoosePixelFormat(HDC deviceContext, const PIXELFORMATDESCRIPTOR* request)
{
    return failing("ChoosePixelFormat") ? 0 : ChoosePixelFormat(deviceContext, request);
}

// For the palette steps, the chosen format becomes an 8-bit one that needs
// a palette: red 3 bits at 0, green 3 at 3, blue 2 at 6.
int faultyDescribePixelFormat(HDC deviceContext, int index, UINT size, PIXELFORMATDESCRIPTOR* format)
{
    const int result = DescribePixelFormat(deviceContext, index, size, format);
    if (failing("palette") || failing("palette332")) {
        format->dwFlags |= PFD_NEED_PALETTE;
        format->cColorBits = 8;
        format->cRedBits = 3;
        format->cRedShift = 0;
        format->cGreenBits = 3;
        format->cGreenShift = 3;
        format->cBlueBits = 2;
        format->cBlueShift = 6;
    }
    return result;
}

HPALETTE faultyCreatePalette(const LOGPALETTE* palette)
{
    const PALETTEENTRY* entry = palette->palPalEntry;
    log("palette %u entries: 7 = %u %u %u, 255 = %u %u %u", palette->palNumEntries, entry[7].peRed, entry[7].peGreen,
        entry[7].peBlue, entry[255].peRed, entry[255].peGreen, entry[255].peBlue);
    return CreatePalette(palette);
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
    if (!context) {
        log("wglMakeCurrent none");
        return wglMakeCurrent(deviceContext, context);
    }
    return failing("wglMakeCurrent") ? FALSE : wglMakeCurrent(deviceContext, context);
}

BOOL faultyWglDeleteContext(HGLRC context)
{
    log("wglDeleteContext");
    return wglDeleteContext(context);
}

// The first presented buffers: two primings, then the first shown frame.
BOOL faultySwapBuffers(HDC deviceContext)
{
    if (++buffersPresented <= 3)
        log("SwapBuffers after %ld frames", framesDrawn);
    return SwapBuffers(deviceContext);
}

// The waits for the pipeline once the swarm shows, the first three of them.
void APIENTRY faultyGlFinish()
{
    if (calibrationFrames == 0 && ++finishesShown <= 3)
        log("glFinish after frame %ld", framesDrawn);
    glFinish();
}

BOOL faultySetPriorityClass(HANDLE process, DWORD priorityClass)
{
    log("SetPriorityClass %s", priorityClass == HIGH_PRIORITY_CLASS ? "high" : "normal");
    return SetPriorityClass(process, priorityClass);
}

BOOL faultySystemParametersInfoA(UINT action, UINT parameter, PVOID data, UINT update)
{
    if (action == SPI_SETSCREENSAVERRUNNING)
        log("screensaver running %u", parameter);
    return SystemParametersInfoA(action, parameter, data, update);
}

LONG faultyChangeDisplaySettingsA(DEVMODEA* mode, DWORD flags)
{
    if (mode)
        log("display mode %lu x %lu, %lu bits", mode->dmPelsWidth, mode->dmPelsHeight, mode->dmBitsPerPel);
    else
        log("display mode restored");
    // A display that takes the mode, or one that has no such mode; the
    // desktop's own mode stays either way.
    if (mode && failing("modeTaken"))
        return DISP_CHANGE_SUCCESSFUL;
    if (mode && failing("modeRefused"))
        return DISP_CHANGE_BADMODE;
    return ChangeDisplaySettingsA(mode, flags);
}

BOOL faultyFreeLibrary(HMODULE library)
{
    log("FreeLibrary");
    return FreeLibrary(library);
}

int faultyShowCursor(BOOL show)
{
    log("ShowCursor %d", show ? 1 : 0);
    return ShowCursor(show);
}

void faultyPostQuitMessage(int exitCode)
{
    log("PostQuitMessage");
    PostQuitMessage(exitCode);
}

BOOL faultyPlaySoundA(LPCSTR sound, HMODULE module, DWORD flags)
{
    log("PlaySound %s", sound ? sound : "purge");
    return PlaySoundA(sound, module, flags);
}

INT_PTR faultyDialogBoxParamA(HINSTANCE instance, LPCSTR name, HWND owner, DLGPROC procedure, LPARAM parameter)
{
    const INT_PTR result = DialogBoxParamA(instance, name, owner, procedure, parameter);
    log("DialogBoxParam %s %s", name, result == -1 ? "failed" : "shown");
    return result;
}

int faultySetupGlState(int width, int height)
{
    const int result = setupGlState(width, height);
    return failing("setupGlState") ? 1 : result;
}

void faultyDrawFrame()
{
    drawFrame();
    ++framesDrawn;
}

void* faultyMalloc(size_t size)
{
    if (size == poolSize * sizeof(Particle) && failing("malloc"))
        return nullptr;
    if (size == paletteRecordSize && failing("palette"))
        return nullptr;
    return std::malloc(size);
}

void* faultyRealloc(void* block, size_t size)
{
    return failing("realloc") ? nullptr : std::realloc(block, size);
}

void faultyFree(void* block)
{
    if (block && block == particleBuffer)
        log("free particleBuffer");
    std::free(block);
}
