#include "pixel_format_request.h"

// A double-buffered RGBA format for a window; nothing else is asked for.
PIXELFORMATDESCRIPTOR pixelFormatRequest = {
    sizeof(PIXELFORMATDESCRIPTOR),
    1,  // version
    PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER,
    PFD_TYPE_RGBA,
    0,                 // colour bits: set by the settings load
    0, 0, 0, 0, 0, 0,  // red, green and blue bits and shifts
    0, 0,              // alpha bits and shift
    0, 0, 0, 0, 0,     // accumulation bits
    0,                 // depth bits: set by the settings load
    0,                 // stencil bits
    0,                 // auxiliary buffers
    PFD_MAIN_PLANE,
    0, 0, 0, 0,  // reserved, layer, visible and damage masks
};
