#include "capability_dialog.h"

#include <cstdio>
#include <utility>

#include "capability_report.h"
#include "resource.h"

namespace {

bool filled;

void showNumber(HWND dialog, int id, int32_t value)
{
    char text[16];
    std::snprintf(text, sizeof text, "%i", value);
    SetDlgItemTextA(dialog, id, text);
}

void fillControls(HWND dialog, CapabilityReport& report)
{
    SetDlgItemTextA(dialog, IDC_ACCELERATION, report.accelerationText);
    SetDlgItemTextA(dialog, IDC_VENDOR, report.vendorText.c_str());
    SetDlgItemTextA(dialog, IDC_RENDERER, report.rendererText.c_str());
    SetDlgItemTextA(dialog, IDC_VERSION, versionDisplayText.c_str());

    char textureSize[32];
    std::snprintf(textureSize, sizeof textureSize, "%i x %i", report.maxTextureSize, report.maxTextureSize);
    SetDlgItemTextA(dialog, IDC_MAX_TEXTURE_SIZE, textureSize);

    const std::pair<int, int32_t> numbers[] = {
        {IDC_RED_BITS, report.redBits},
        {IDC_GREEN_BITS, report.greenBits},
        {IDC_BLUE_BITS, report.blueBits},
        {IDC_ALPHA_BITS, report.alphaBits},
        {IDC_COLOR_BITS, report.colorBufferBits},
        {IDC_ACCUM_RED_BITS, report.accumRedBits},
        {IDC_ACCUM_GREEN_BITS, report.accumGreenBits},
        {IDC_ACCUM_BLUE_BITS, report.accumBlueBits},
        {IDC_ACCUM_ALPHA_BITS, report.accumAlphaBits},
        {IDC_ACCUM_BITS, report.accumBits},
        {IDC_DEPTH_BITS, report.depthBufferBits},
        {IDC_STENCIL_BITS, report.stencilBits},
        {IDC_MAX_LIGHTS, report.maxLights},
    };
    for (const auto& [id, value] : numbers)
        showNumber(dialog, id, value);

    SetDlgItemTextA(dialog, IDC_EXTENSIONS, extensionListText.c_str());

    // The controls hold their own copies now.
    releaseText(report.vendorText);
    releaseText(report.rendererText);
    releaseText(versionDisplayText);
    releaseText(extensionListText);
}

}  // namespace

INT_PTR CALLBACK capabilityDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        // Once: the texts are released after the first filling, and another
        // program's WM_INITDIALOG would blank every field that showed them.
        if (!filled)
            fillControls(dialog, capabilityReport);
        filled = true;
        return TRUE;
    case WM_CLOSE:
        EndDialog(dialog, 1);
        return TRUE;
    case WM_COMMAND:
        // Enter and Escape (IDOK, IDCANCEL) are taken and leave the dialog open.
        if (LOWORD(wParam) == IDC_CLOSE_COMMAND)
            EndDialog(dialog, 1);
        return TRUE;
    }
    return FALSE;
}
