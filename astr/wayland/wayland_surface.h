// The one surface a process of astrelle draws on under Wayland: a layer
// surface covering one output, or a window (an xdg_toplevel, fullscreen or
// not); its EGL context; and the saver on it, each frame presented as the
// compositor welcomes it and after the delay, so that an output hidden or
// asleep costs nothing.
#pragma once

#include <cstdint>

#include "../render/saver.h"
#include "wayland_display.h"

// Each with its EGL context for GL 1.1 in the compatibility profile; each
// failure ends the process with one line. On the overlay layer of that
// output, anchored to every edge, taking the keyboard (false where the
// compositor closed it before it could be drawn on); a window of its own
// (of the geometry's size), or fullscreen on
// the output the compositor chooses.
bool makeLayerSurface(const WaylandOutput& output);
void makeWindow(bool fullscreen);

// Draws on the surface until input that the rule given ends the run, the
// window's close, or the compositor's closing the surface; answers whether
// the compositor closed it.
bool runSaverOnSurface(EndingInput endingInput);
