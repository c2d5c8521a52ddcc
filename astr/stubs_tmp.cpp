#include <windows.h>
#include <GL/gl.h>
#include "render/gl_state.h"
#include "render/frame_drawing.h"
#include "settings/settings.h"
#include "shell/frame_clock.h"
#include "sim/particles.h"
#include "shell/platform.h"
PIXELFORMATDESCRIPTOR pixelFormatRequest = {sizeof(PIXELFORMATDESCRIPTOR), 1, PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER, PFD_TYPE_RGBA};
void loadSettings() { settings.Music = 1; settings.OpenGLInst = 1; }
void writeDefaults() {}
INT_PTR CALLBACK configDialogProc(HWND d, UINT m, WPARAM, LPARAM) { if (m == WM_CLOSE) { EndDialog(d, 1); return TRUE; } return m == WM_INITDIALOG; }
INT_PTR CALLBACK statsDialogProc(HWND d, UINT m, WPARAM, LPARAM) { if (m == WM_CLOSE) { EndDialog(d, 1); return TRUE; } return m == WM_INITDIALOG; }
