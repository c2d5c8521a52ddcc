// The one surface a process of astrelle draws on under Wayland: a layer
// surface covering one output, or a window (an xdg_toplevel, fullscreen or
// not); its EGL context, and presenting a frame on it, which asks the
// compositor to say when the next is welcome.
#pragma once

#include <cstdint>

#include "wayland_display.h"

extern int32_t surfaceWidth, surfaceHeight;
extern bool surfaceClosed;  // the compositor closed it, or the window's close was asked for
extern bool frameWelcome;   // the compositor has shown the last frame presented (its frame callback)

// On the overlay layer of that output, anchored to every edge, taking the
// keyboard; ends the process with one line if the output has no size.
void makeLayerSurface(const WaylandOutput& output);
// A window of its own, of the geometry's size where given, else 1280 x 720;
// or fullscreen on the output the compositor chooses.
void makeWindow(bool fullscreen);

// The EGL context for GL 1.1 with the compatibility profile, current on the
// surface; each failure ends the process with one line.
void createEglContext();
void presentEglFrame();
void releaseSurface();
