// The one window astrelle draws on: the host's (its id from the command
// line or $XSCREENSAVER_WINDOW), the virtual root or root window, or one of
// its own; the X connection it lives on; and what its events do to the run.
#pragma once

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include "options.h"

extern Display* display;
extern Window saverWindow;
extern XVisualInfo saverVisual;  // the visual the picture is drawn with

// Opens the display and finds or makes the window with a GL visual, and
// notes its size in the run figures; on failure prints one line saying why
// and ends with status 1.
void openSaverWindow(const Options& options, const WindowChoice& choice);

// Handles every event that is waiting: keys, resizes, the window manager's
// close, the window destroyed. Clears `running` for the ordinary ends.
void handlePendingEvents();

// Waits up to the given time for events, handling them as they come.
void waitForEvents(long microseconds);

// Destroys the window if it is the saver's own, and closes the display.
void closeSaverWindow();

// Set when the window has vanished under the saver or an X request on it
// failed: the run then ends quietly.
extern bool windowGone;
