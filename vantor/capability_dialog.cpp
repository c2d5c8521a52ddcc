#include "capability_dialog.h"

#include <cstdio>

#include "capability_report.h"
#include "resource.h"

namespace {

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

    showNumber(dialog, IDC_RED_BITS, report.redBits);
    showNumber(dialog, IDC_GREEN_BITS, report.greenBits);
    showNumber(dialog, IDC_BLUE_BITS, report.blueBits);
    showNumber(dialog, IDC_ALPHA_BITS, report.alphaBits);
    showNumber(dialog, IDC_COLOR_BITS, report.colorBufferBits);
    showNumber(dialog, IDC_ACCUM_RED_BITS, report.accumRedBits);
    showNumber(dialog, IDC_ACCUM_GREEN_BITS, report.accumGreenBits);
    showNumber(dialog, IDC_ACCUM_BLUE_BITS, report.accumBlueBits);
    showNumber(dialog, IDC_ACCUM_ALPHA_BITS, report.accumAlphaBits);
    showNumber(dialog, IDC_ACCUM_BITS, report.accumBits);
    showNumber(dialog, IDC_DEPTH_BITS, report.depthBufferBits);
    showNumber(dialog, IDC_STENCIL_BITS, report.stencilBits);
    showNumber(dialog, IDC_MAX_LIGHTS, report.maxLights);

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
        fillControls(dialog, capabilityReport);
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
