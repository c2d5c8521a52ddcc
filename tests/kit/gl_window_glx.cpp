#include <GL/glx.h>
#include <X11/Xlib.h>

#include "gl_window.h"

namespace {

Display* display;
Colormap colormap;
Window window;
GLXContext context;

}  // namespace

std::string openGlWindow(const char* title, int width, int height)
{
    display = XOpenDisplay(nullptr);
    if (!display)
        return "cannot open the display (is DISPLAY set to a running X server?)";
    int wanted[] = {GLX_RGBA, GLX_DOUBLEBUFFER, GLX_RED_SIZE, 1, GLX_GREEN_SIZE, 1, GLX_BLUE_SIZE, 1, None};
    XVisualInfo* visual = glXChooseVisual(display, DefaultScreen(display), wanted);
    if (!visual)
        return "no double-buffered RGBA GLX visual";
    const Window root = RootWindow(display, visual->screen);
    colormap = XCreateColormap(display, root, visual->visual, AllocNone);
    XSetWindowAttributes attributes{};
    attributes.colormap = colormap;
    attributes.event_mask = StructureNotifyMask;
    attributes.override_redirect = True;  // where it was put, as a Win32 popup, whatever manages the display
    window = XCreateWindow(display, root, 0, 0, width, height, 0, visual->depth, InputOutput, visual->visual,
                           CWColormap | CWBorderPixel | CWEventMask | CWOverrideRedirect, &attributes);
    XStoreName(display, window, title);
    XMapWindow(display, window);
    XEvent event;
    do
        XWindowEvent(display, window, StructureNotifyMask, &event);
    while (event.type != MapNotify);
    context = glXCreateContext(display, visual, nullptr, True);
    XFree(visual);
    if (!context)
        return "glXCreateContext failed";
    if (!glXMakeCurrent(display, window, context))
        return "glXMakeCurrent failed";
    return "";
}

void closeGlWindow()
{
    if (!display)
        return;
    glXMakeCurrent(display, None, nullptr);
    if (context)
        glXDestroyContext(display, context);
    if (window)
        XDestroyWindow(display, window);
    if (colormap)
        XFreeColormap(display, colormap);
    XCloseDisplay(display);
    display = nullptr;
    colormap = 0;
    window = 0;
    context = nullptr;
}
