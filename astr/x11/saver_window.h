// The one window astrelle draws on under X11: the host's (its id from the
// command line or $XSCREENSAVER_WINDOW), the virtual root or root window, or
// one of its own; the connection it lives on; and its events, handed to the
// saver.
#pragma once

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdint>

#include "../linux/options.h"

extern Display* display;
extern Window saverWindow;
extern XVisualInfo saverVisual;  // the visual the picture is drawn with
extern bool ownWindow;           // the saver's own window, not a host's
extern int32_t windowWidth, windowHeight;

// The visual of a window the saver did not make, where GL can draw on it
// in double-buffered RGBA; false where it cannot.
bool findGlVisual(Display* connection, const XWindowAttributes& window, XVisualInfo& found);

// Opens the display and finds or makes the window with a GL visual, and
// notes its size; on failure prints one line saying why and ends with
// status 1.
void openSaverWindow(const WindowChoice& choice);

// Handles every event that is waiting: keys, resizes, the window manager's
// close, the window destroyed. Answers whether the run goes on.
bool handlePendingEvents();

// Waits up to the given time for events, handling them as they come.
// Answers whether the run goes on.
bool waitForEvents(long microseconds);

// Destroys the window if it is the saver's own, and closes the display.
void closeSaverWindow();

// Set when the window has vanished under the saver or an X request on it
// failed: the run then ends quietly.
extern bool windowGone;
