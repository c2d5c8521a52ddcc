#include "saver_window.h"

#include <GL/glx.h>
#include <X11/Xatom.h>
#include <X11/XKBlib.h>
#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "../core/fatal_error.h"
#include "../linux/keys.h"
#include "../render/saver.h"

Display* display;
Window saverWindow;
XVisualInfo saverVisual;
bool ownWindow;
int32_t windowWidth, windowHeight;
bool windowGone;

namespace {

constexpr int glxBadDrawable = 2;  // the GLX protocol's GLXBadDrawable, beyond its error base
constexpr long hostEventMask = StructureNotifyMask | KeyPressMask | KeyReleaseMask;

Atom wmProtocols, wmDeleteWindow;
int glxErrorBase;
bool reportingXErrors;  // from the first frame on; before it, the failing step says why

// The window is the host's, which may destroy it at any moment (the screen
// unblanks): the requests on it then fail, and the run ends without a word.
int onXError(Display*, XErrorEvent* error)
{
    const int code = error->error_code;
    if (code == BadWindow || code == BadDrawable || (glxErrorBase && code == glxErrorBase + glxBadDrawable)) {
        windowGone = true;
        return 0;
    }
    if (reportingXErrors) {
        char text[128];
        XGetErrorText(display, code, text, sizeof text);
        std::fprintf(stderr, "astrelle: X error: %s\n", text);
    }
    windowGone = true;
    return 0;
}

// The connection has gone (the X server ended): nothing is left to release.
int onXConnectionLost(Display*)
{
    _exit(0);
}

// A root child with __SWM_VROOT is the desktop's virtual root: what shows
// as the root window on desktops that draw their own.
Window findVirtualRoot(int screen)
{
    const Window root = RootWindow(display, screen);
    const Atom vroot = XInternAtom(display, "__SWM_VROOT", False);
    Window rootReturn, parent, *children = nullptr;
    unsigned count = 0;
    Window found = root;
    if (!XQueryTree(display, root, &rootReturn, &parent, &children, &count))
        return root;
    for (unsigned i = 0; i < count && found == root; ++i) {
        Atom type;
        int format;
        unsigned long items, after;
        unsigned char* data = nullptr;
        if (XGetWindowProperty(display, children[i], vroot, 0, 1, False, XA_WINDOW, &type, &format, &items, &after,
                               &data) == Success &&
            type == XA_WINDOW && format == 32 && items == 1)
            found = *reinterpret_cast<Window*>(data);
        if (data)
            XFree(data);
    }
    if (children)
        XFree(children);
    // A child may vanish while it is looked at (a tooltip closing): its
    // BadWindow says nothing about the window the saver will draw on.
    XSync(display, False);
    windowGone = false;
    return found;
}

// On a window it did not make, the saver draws with that window's visual.
void useWindowOf(Window window)
{
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(display, window, &attributes) || windowGone)
        FatalError("Unable to find window 0x%lx.", window);
    if (!findGlVisual(display, attributes, saverVisual))
        FatalError("Unable to setup pixelformat.");
    saverWindow = window;
    XSelectInput(display, window, hostEventMask);
    windowWidth = attributes.width;
    windowHeight = attributes.height;
}

void makeOwnWindow(const Geometry& geometry)
{
    const int screen = DefaultScreen(display);
    int attributes[] = {GLX_RGBA, GLX_DOUBLEBUFFER, None};
    XVisualInfo* visual = glXChooseVisual(display, screen, attributes);
    if (!visual)
        FatalError("Unable to setup pixelformat.");
    saverVisual = *visual;
    XFree(visual);

    // Its size is the screen's at most, whatever --geometry asks for.
    const unsigned screenWidth = DisplayWidth(display, screen), screenHeight = DisplayHeight(display, screen);
    const unsigned width = std::min(geometry.width, screenWidth);
    const unsigned height = std::min(geometry.height, screenHeight);
    int x = geometry.x, y = geometry.y;
    if (geometry.fromRight)
        x += static_cast<int>(screenWidth - width);
    if (geometry.fromBottom)
        y += static_cast<int>(screenHeight - height);

    const Window root = RootWindow(display, screen);
    XSetWindowAttributes set{};
    set.colormap = XCreateColormap(display, root, saverVisual.visual, AllocNone);
    set.background_pixel = BlackPixel(display, screen);
    set.border_pixel = 0;
    set.event_mask = hostEventMask | ExposureMask;
    saverWindow = XCreateWindow(display, root, x, y, width, height, 0, saverVisual.depth,
                                InputOutput, saverVisual.visual, CWColormap | CWBackPixel | CWBorderPixel | CWEventMask,
                                &set);
    XSync(display, False);
    if (!saverWindow || windowGone)
        FatalError("Unable to create window.");
    ownWindow = true;
    XStoreName(display, saverWindow, "Astrelle");
    XClassHint hint{const_cast<char*>("astrelle"), const_cast<char*>("Astrelle")};
    XSetClassHint(display, saverWindow, &hint);
    wmProtocols = XInternAtom(display, "WM_PROTOCOLS", False);
    wmDeleteWindow = XInternAtom(display, "WM_DELETE_WINDOW", False);
    XSetWMProtocols(display, saverWindow, &wmDeleteWindow, 1);
    XMapRaised(display, saverWindow);
    XWindowAttributes mapped;
    XGetWindowAttributes(display, saverWindow, &mapped);
    windowWidth = mapped.width;
    windowHeight = mapped.height;
}

bool onKey(XKeyEvent& event, bool down)
{
    return saverKey(virtualKeyOfKeysym(static_cast<uint32_t>(XLookupKeysym(&event, 0))), down);
}

// Answers whether the run goes on after the event.
bool onEvent(XEvent& event)
{
    switch (event.type) {
    case KeyPress:
        return onKey(event.xkey, true);
    case KeyRelease:
        return onKey(event.xkey, false);
    case ConfigureNotify: {
        // Any client can send one with any size: the server says what it is.
        XWindowAttributes attributes;
        if (event.xconfigure.window == saverWindow && XGetWindowAttributes(display, saverWindow, &attributes))
            resizeSaver(attributes.width, attributes.height);
        return true;
    }
    case DestroyNotify:
        if (event.xdestroywindow.window == saverWindow)
            windowGone = true;
        return true;
    case ClientMessage:  // the window manager's close
        return !(ownWindow && event.xclient.message_type == wmProtocols &&
                 static_cast<Atom>(event.xclient.data.l[0]) == wmDeleteWindow);
    }
    return true;
}

}  // namespace

bool findGlVisual(Display* connection, const XWindowAttributes& window, XVisualInfo& found)
{
    XVisualInfo wanted{};
    wanted.visualid = XVisualIDFromVisual(window.visual);
    wanted.screen = XScreenNumberOfScreen(window.screen);
    int count = 0;
    XVisualInfo* visual = XGetVisualInfo(connection, VisualIDMask | VisualScreenMask, &wanted, &count);
    // Calibration frames are drawn unseen in the back buffer: a visual
    // without one would show every one of them, and present nothing.
    int usesGl = 0, rgba = 0, doubleBuffered = 0;
    const bool usable = visual && glXGetConfig(connection, visual, GLX_USE_GL, &usesGl) == 0 && usesGl &&
                        glXGetConfig(connection, visual, GLX_RGBA, &rgba) == 0 && rgba &&
                        glXGetConfig(connection, visual, GLX_DOUBLEBUFFER, &doubleBuffered) == 0 && doubleBuffered;
    if (usable)
        found = *visual;
    if (visual)
        XFree(visual);
    return usable;
}

void openSaverWindow(const WindowChoice& choice)
{
    display = XOpenDisplay(options.display);
    if (!display)
        FatalError("Unable to open display \"%s\".", XDisplayName(options.display));
    XSetErrorHandler(onXError);
    XSetIOErrorHandler(onXConnectionLost);
    int eventBase = 0;
    if (!glXQueryExtension(display, &glxErrorBase, &eventBase))
        FatalError("Unable to setup pixelformat.");
    // A held H sends no release and press pairs, so it stays held between frames.
    XkbSetDetectableAutoRepeat(display, True, nullptr);

    switch (choice.source) {
    case WindowSource::own:
        makeOwnWindow(options.geometry);
        break;
    case WindowSource::given:
        useWindowOf(choice.id);
        break;
    case WindowSource::virtualRoot:
        useWindowOf(findVirtualRoot(DefaultScreen(display)));
        break;
    }
}

bool handlePendingEvents()
{
    reportingXErrors = true;
    bool goesOn = true;
    while (goesOn && !windowGone && XPending(display)) {
        XEvent event;
        XNextEvent(display, &event);
        goesOn = onEvent(event);
    }
    return goesOn && !windowGone;
}

bool waitForEvents(long microseconds)
{
    using clock = std::chrono::steady_clock;
    const clock::time_point end = clock::now() + std::chrono::microseconds(microseconds);
    pollfd connection{ConnectionNumber(display), POLLIN, 0};
    while (handlePendingEvents()) {
        const auto left = std::chrono::duration_cast<std::chrono::microseconds>(end - clock::now()).count();
        if (left <= 0)
            return true;
        XFlush(display);
        if (poll(&connection, 1, static_cast<int>((left + 999) / 1000)) < 0 && errno != EINTR)
            return true;
    }
    return false;
}

void closeSaverWindow()
{
    if (ownWindow && !windowGone)
        XDestroyWindow(display, saverWindow);
    XCloseDisplay(display);
}
