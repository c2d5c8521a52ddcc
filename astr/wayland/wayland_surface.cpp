#include "wayland_surface.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>
#include <GL/gl.h>
#include <wayland-egl.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "../core/fatal_error.h"
#include "../linux/options.h"
#include "../render/saver.h"

int32_t surfaceWidth, surfaceHeight;
bool surfaceClosed;
bool frameWelcome = true;

namespace {

constexpr int32_t ownWidth = 1280;  // a window of its own, as such savers make it
constexpr int32_t ownHeight = 720;

wl_surface* surface;
zwlr_layer_surface_v1* layer;
xdg_surface* windowSurface;
xdg_toplevel* toplevel;
bool configured;
int32_t offeredWidth, offeredHeight;  // by the window's last configure
std::string outputName;

wl_egl_window* eglWindow;
EGLDisplay eglDisplay = EGL_NO_DISPLAY;
EGLContext context = EGL_NO_CONTEXT;
EGLSurface eglSurface = EGL_NO_SURFACE;

// The compositor's size for the surface, which the picture follows once it
// is drawn; 0 leaves the size to the client.
void takeSize(int32_t width, int32_t height)
{
    configured = true;
    if (width <= 0 || height <= 0 || (width == surfaceWidth && height == surfaceHeight))
        return;
    surfaceWidth = width;
    surfaceHeight = height;
    if (eglWindow) {
        wl_egl_window_resize(eglWindow, width, height, 0, 0);
        resizeSaver(width, height);
    }
}

void onLayerConfigure(void*, zwlr_layer_surface_v1* configuredLayer, uint32_t serial, uint32_t width, uint32_t height)
{
    zwlr_layer_surface_v1_ack_configure(configuredLayer, serial);
    if (width == 0 || height == 0)
        FatalError("Output %s has no size.", outputName.c_str());
    takeSize(static_cast<int32_t>(width), static_cast<int32_t>(height));
}

void onLayerClosed(void*, zwlr_layer_surface_v1*)
{
    surfaceClosed = true;
}

const zwlr_layer_surface_v1_listener layerListener = {onLayerConfigure, onLayerClosed};

void onToplevelConfigure(void*, xdg_toplevel*, int32_t width, int32_t height, wl_array*)
{
    offeredWidth = width;
    offeredHeight = height;
}

void onToplevelClose(void*, xdg_toplevel*)
{
    surfaceClosed = true;
}

const xdg_toplevel_listener toplevelListener = {onToplevelConfigure, onToplevelClose, nullptr, nullptr};

void onWindowConfigure(void*, xdg_surface* configuredSurface, uint32_t serial)
{
    xdg_surface_ack_configure(configuredSurface, serial);
    takeSize(offeredWidth, offeredHeight);
}

const xdg_surface_listener windowListener = {onWindowConfigure};

void onFrameDone(void*, wl_callback* callback, uint32_t)
{
    wl_callback_destroy(callback);
    frameWelcome = true;
}

const wl_callback_listener frameListener = {onFrameDone};

// glBegin, glOrtho and the rest need a context of the compatibility
// profile; versions before 3.2 have no other.
bool hasCompatibilityProfile()
{
    const char* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
    return version && (std::atof(version) < 3.2 || std::strstr(version, "Compatibility"));
}

void waitForConfigure()
{
    wl_surface_commit(surface);
    while (!configured)
        dispatchEvents(-1);
}

}  // namespace

void makeLayerSurface(const WaylandOutput& output)
{
    outputName = output.name;
    surface = wl_compositor_create_surface(compositor);
    layer = zwlr_layer_shell_v1_get_layer_surface(layerShell, surface, output.output,
                                                  ZWLR_LAYER_SHELL_V1_LAYER_OVERLAY, "astrelle");
    zwlr_layer_surface_v1_set_anchor(layer, ZWLR_LAYER_SURFACE_V1_ANCHOR_TOP | ZWLR_LAYER_SURFACE_V1_ANCHOR_BOTTOM |
                                                ZWLR_LAYER_SURFACE_V1_ANCHOR_LEFT | ZWLR_LAYER_SURFACE_V1_ANCHOR_RIGHT);
    zwlr_layer_surface_v1_set_exclusive_zone(layer, -1);  // over the panels too
    zwlr_layer_surface_v1_set_keyboard_interactivity(layer, ZWLR_LAYER_SURFACE_V1_KEYBOARD_INTERACTIVITY_EXCLUSIVE);
    zwlr_layer_surface_v1_add_listener(layer, &layerListener, nullptr);
    waitForConfigure();
}

void makeWindow(bool fullscreen)
{
    surfaceWidth = options.geometry.sizeGiven ? static_cast<int32_t>(options.geometry.width) : ownWidth;
    surfaceHeight = options.geometry.sizeGiven ? static_cast<int32_t>(options.geometry.height) : ownHeight;
    surface = wl_compositor_create_surface(compositor);
    windowSurface = xdg_wm_base_get_xdg_surface(windowManager, surface);
    xdg_surface_add_listener(windowSurface, &windowListener, nullptr);
    toplevel = xdg_surface_get_toplevel(windowSurface);
    xdg_toplevel_add_listener(toplevel, &toplevelListener, nullptr);
    xdg_toplevel_set_title(toplevel, "Astrelle");
    xdg_toplevel_set_app_id(toplevel, "astrelle");
    if (fullscreen)
        xdg_toplevel_set_fullscreen(toplevel, nullptr);
    waitForConfigure();
}

void createEglContext()
{
    eglDisplay = eglGetPlatformDisplay(EGL_PLATFORM_WAYLAND_KHR, waylandDisplay, nullptr);
    if (eglDisplay == EGL_NO_DISPLAY || !eglInitialize(eglDisplay, nullptr, nullptr) || !eglBindAPI(EGL_OPENGL_API))
        FatalError("Unable to reach OpenGL through EGL.");
    // Eight bits a colour and no alpha, which the compositor would blend
    // the picture by: asked for loosely, Mesa offers 30-bit formats first,
    // which a compositor drawing with pixman showed white.
    const EGLint wanted[] = {EGL_SURFACE_TYPE, EGL_WINDOW_BIT, EGL_RENDERABLE_TYPE, EGL_OPENGL_BIT, EGL_RED_SIZE, 8,
                             EGL_GREEN_SIZE, 8, EGL_BLUE_SIZE, 8, EGL_NONE};
    EGLConfig configs[64], config = nullptr;
    EGLint found = 0;
    eglChooseConfig(eglDisplay, wanted, configs, 64, &found);
    for (EGLint i = 0; i < found && !config; ++i) {
        EGLint red = 0, alpha = 0;
        eglGetConfigAttrib(eglDisplay, configs[i], EGL_RED_SIZE, &red);
        eglGetConfigAttrib(eglDisplay, configs[i], EGL_ALPHA_SIZE, &alpha);
        if (red == 8 && alpha == 0)
            config = configs[i];
    }
    if (!config)
        FatalError("Unable to setup pixelformat.");
    context = eglCreateContext(eglDisplay, config, EGL_NO_CONTEXT, nullptr);
    eglWindow = wl_egl_window_create(surface, surfaceWidth, surfaceHeight);
    eglSurface = eglCreateWindowSurface(eglDisplay, config, reinterpret_cast<EGLNativeWindowType>(eglWindow), nullptr);
    if (context == EGL_NO_CONTEXT || eglSurface == EGL_NO_SURFACE)
        FatalError("Unable to create an opengl rendercontext.");
    if (!eglMakeCurrent(eglDisplay, eglSurface, eglSurface, context))
        FatalError("Unable to make the rendercontext current.");
    if (!hasCompatibilityProfile())
        FatalError("The OpenGL of EGL has no compatibility profile: %s.", glGetString(GL_VERSION));
    // The loop waits for the compositor's callbacks itself, handling events
    // meanwhile: a swap must never wait.
    eglSwapInterval(eglDisplay, 0);
}

// The callback is asked for before the swap commits the frame; one asked
// for already answers for this frame too.
void presentEglFrame()
{
    if (frameWelcome) {
        frameWelcome = false;
        wl_callback_add_listener(wl_surface_frame(surface), &frameListener, nullptr);
    }
    eglSwapBuffers(eglDisplay, eglSurface);
}

void releaseSurface()
{
    eglMakeCurrent(eglDisplay, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
    eglDestroySurface(eglDisplay, eglSurface);
    eglDestroyContext(eglDisplay, context);
    wl_egl_window_destroy(eglWindow);
    eglTerminate(eglDisplay);
    if (layer)
        zwlr_layer_surface_v1_destroy(layer);
    if (toplevel) {
        xdg_toplevel_destroy(toplevel);
        xdg_surface_destroy(windowSurface);
    }
    wl_surface_destroy(surface);
    wl_display_flush(waylandDisplay);
}
