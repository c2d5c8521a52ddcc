#include "stats_dialog.h"

#include "../core/frame_clock.h"
#include "../core/particles.h"
#include "../core/stats_text.h"
#include "resources/resource.h"

namespace {

void showFigures(HWND dialog)
{
    const StatsTexts texts = formatStatsTexts(particleCount, runStats);
    SetDlgItemTextA(dialog, IDC_STATS_PARTICLES, texts.particles);
    SetDlgItemTextA(dialog, IDC_STATS_RESOLUTION, texts.resolution);
    SetDlgItemTextA(dialog, IDC_STATS_COLOR_BITS, texts.colorBits);
    SetDlgItemTextA(dialog, IDC_STATS_DEPTH_BITS, texts.depthBits);
    SetDlgItemTextA(dialog, IDC_STATS_FRAME_RATE, texts.frameRate);
    SetDlgItemTextA(dialog, IDC_STATS_PARTICLE_RATE, texts.particleRate);
}

}  // namespace

INT_PTR CALLBACK statsDialogProc(HWND dialog, UINT message, WPARAM, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        showFigures(dialog);
        SetForegroundWindow(dialog);
        return TRUE;
    case WM_PAINT: {
        PAINTSTRUCT paint;
        BeginPaint(dialog, &paint);
        EndPaint(dialog, &paint);
        return TRUE;
    }
    case WM_CLOSE:
        EndDialog(dialog, 1);
        return TRUE;
    }
    return FALSE;
}
