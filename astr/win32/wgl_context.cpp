#include "wgl_context.h"

#include <cstdlib>

#include "../core/fatal_error.h"
#include "../core/platform.h"
#include "palette.h"
#include "pixel_format_request.h"

namespace {

constexpr int paletteMaxColorBits = 8;  // a logical palette for more would not fit its count

HDC deviceContext;
HGLRC renderContext;
HPALETTE palette;

// Builds and selects a palette when the chosen format needs one; answers
// non-zero only when there is no memory for it.
int setupPalette()
{
    const PIXELFORMATDESCRIPTOR& format = pixelFormatRequest;
    if (!(format.dwFlags & PFD_NEED_PALETTE) && format.iPixelType != PFD_TYPE_COLORINDEX)
        return 0;
    if (format.cColorBits > paletteMaxColorBits)
        return 0;  // no logical palette holds such a format's colours

    const int count = 1 << format.cColorBits;
    auto* record = static_cast<LOGPALETTE*>(
        std::malloc(sizeof(LOGPALETTE) + (count - 1) * sizeof(PALETTEENTRY)));
    if (!record)
        return 1;
    record->palVersion = 0x300;
    record->palNumEntries = static_cast<WORD>(count);
    GetSystemPaletteEntries(deviceContext, 0, count, record->palPalEntry);
    for (int i = 0; i < count; ++i) {
        PALETTEENTRY& entry = record->palPalEntry[i];
        entry.peRed = paletteComponent(i, format.cRedBits, format.cRedShift);
        entry.peGreen = paletteComponent(i, format.cGreenBits, format.cGreenShift);
        entry.peBlue = paletteComponent(i, format.cBlueBits, format.cBlueShift);
        entry.peFlags = 0;
    }
    palette = CreatePalette(record);
    if (palette) {  // a palette that cannot be made is no failure
        SelectPalette(deviceContext, palette, FALSE);
        RealizePalette(deviceContext);
    }
    std::free(record);
    return 0;
}

}  // namespace

void createGlContext(HWND window)
{
    deviceContext = GetDC(window);
    if (!deviceContext)
        FatalError("Unable to create window.");

    const int format = ChoosePixelFormat(deviceContext, &pixelFormatRequest);
    if (format == 0)
        FatalError("Unable to setup pixelformat.");
    pixelFormatRequest = PIXELFORMATDESCRIPTOR{};
    DescribePixelFormat(deviceContext, format, sizeof pixelFormatRequest, &pixelFormatRequest);
    if (!SetPixelFormat(deviceContext, format, &pixelFormatRequest))
        FatalError("Unable to setup pixelformat.");

    if (setupPalette() != 0)
        FatalError("Unable to setup palette.");
    renderContext = wglCreateContext(deviceContext);
    if (!renderContext)
        FatalError("Unable to create an opengl rendercontext.");
    if (!wglMakeCurrent(deviceContext, renderContext))
        FatalError("Unable to make the rendercontext current.\r\n"
                   "Possible another application is still using opengl...");
}

void presentFrame()
{
    SwapBuffers(deviceContext);
}

void realizeGlPalette()
{
    if (!palette)
        return;
    UnrealizeObject(palette);
    SelectPalette(deviceContext, palette, FALSE);
    RealizePalette(deviceContext);
}

void releaseGlContext()
{
    if (deviceContext)
        wglMakeCurrent(deviceContext, nullptr);
    if (renderContext)
        wglDeleteContext(renderContext);
}
