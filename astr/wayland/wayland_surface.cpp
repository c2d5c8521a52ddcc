#include "wayland_surface.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>
#include <GL/gl.h>
#include <wayland-egl.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <string>

#include "../core/fatal_error.h"
#include "../linux/hosts.h"
#include "../linux/options.h"
#include "../linux/pauses.h"
#include "../render/saver.h"

namespace {

int32_t surfaceWidth, surfaceHeight;
bool surfaceClosed;  // the compositor closed it, or the window's close was asked for
bool frameWelcome = true;  // the compositor has shown the last frame presented (its frame callback)


wl_surface* surface;
bool configured;
int32_t offeredWidth, offeredHeight;  // by the window's last configure
std::string outputName;

wl_egl_window* eglWindow;
EGLDisplay eglDisplay = EGL_NO_DISPLAY;
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

// The layer surface's closed, the window's close.
template <typename Role>
void onClosed(void*, Role*)
{
    surfaceClosed = true;
}

const zwlr_layer_surface_v1_listener layerListener = {onLayerConfigure, onClosed};

void onToplevelConfigure(void*, xdg_toplevel*, int32_t width, int32_t height, wl_array*)
{
    offeredWidth = width;
    offeredHeight = height;
}

const xdg_toplevel_listener toplevelListener = {onToplevelConfigure, onClosed, nullptr, nullptr};

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

// A wait this much longer than the delay held a pause: the output was off,
// asleep or hidden, and that time is no step of the swarm.
constexpr std::chrono::seconds pauseLength{1};

// Handles events until the compositor welcomes the next frame and the delay
// has passed; answers whether that took a pause's length.
bool waitToDrawAgain(long delayMicroseconds)
{
    using clock = std::chrono::steady_clock;
    const clock::time_point end = clock::now() + std::chrono::microseconds(delayMicroseconds);
    while (!inputEndsRun && !surfaceClosed && (!frameWelcome || clock::now() < end)) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - clock::now()).count() + 1;
        dispatchEvents(frameWelcome ? static_cast<int>(left) : -1);
    }
    return clock::now() - end > pauseLength;
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
    const EGLContext context = eglCreateContext(eglDisplay, config, EGL_NO_CONTEXT, nullptr);
    eglWindow = wl_egl_window_create(surface, surfaceWidth, surfaceHeight);
    eglSurface = eglCreateWindowSurface(eglDisplay, config, reinterpret_cast<EGLNativeWindowType>(eglWindow), nullptr);
    if (context == EGL_NO_CONTEXT || eglSurface == EGL_NO_SURFACE)
        FatalError("Unable to create an opengl rendercontext.");
    if (!eglMakeCurrent(eglDisplay, eglSurface, eglSurface, context))
        FatalError("Unable to make the rendercontext current.");
    // glBegin, glOrtho and the rest need the compatibility profile; GL before 3.2 has no other.
    const char* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
    if (!version || (std::atof(version) >= 3.2 && !std::strstr(version, "Compatibility")))
        FatalError("The OpenGL of EGL has no compatibility profile: %s.", version ? version : "none");
    // The loop waits for the compositor's callbacks itself, handling events
    // meanwhile: a swap must never wait.
    eglSwapInterval(eglDisplay, 0);
}

// Once the compositor has configured the surface, its context.
bool waitForConfigure()
{
    wl_surface_commit(surface);
    while (!configured && !surfaceClosed)
        dispatchEvents(-1);
    if (!surfaceClosed)
        createEglContext();
    return !surfaceClosed;
}

}  // namespace

bool makeLayerSurface(const WaylandOutput& output)
{
    outputName = output.name;
    surface = wl_compositor_create_surface(compositor);
    zwlr_layer_surface_v1* layer = zwlr_layer_shell_v1_get_layer_surface(layerShell, surface, output.output,
                                                  ZWLR_LAYER_SHELL_V1_LAYER_OVERLAY, "astrelle");
    zwlr_layer_surface_v1_set_anchor(layer, ZWLR_LAYER_SURFACE_V1_ANCHOR_TOP | ZWLR_LAYER_SURFACE_V1_ANCHOR_BOTTOM |
                                                ZWLR_LAYER_SURFACE_V1_ANCHOR_LEFT | ZWLR_LAYER_SURFACE_V1_ANCHOR_RIGHT);
    zwlr_layer_surface_v1_set_exclusive_zone(layer, -1);  // over the panels too
    zwlr_layer_surface_v1_set_keyboard_interactivity(layer, ZWLR_LAYER_SURFACE_V1_KEYBOARD_INTERACTIVITY_EXCLUSIVE);
    zwlr_layer_surface_v1_add_listener(layer, &layerListener, nullptr);
    return waitForConfigure();
}

void makeWindow(bool fullscreen)
{
    surfaceWidth = static_cast<int32_t>(options.geometry.width);
    surfaceHeight = static_cast<int32_t>(options.geometry.height);
    surface = wl_compositor_create_surface(compositor);
    xdg_surface* windowSurface = xdg_wm_base_get_xdg_surface(windowManager, surface);
    xdg_surface_add_listener(windowSurface, &windowListener, nullptr);
    xdg_toplevel* toplevel = xdg_surface_get_toplevel(windowSurface);
    xdg_toplevel_add_listener(toplevel, &toplevelListener, nullptr);
    xdg_toplevel_set_title(toplevel, "Astrelle");
    xdg_toplevel_set_app_id(toplevel, "astrelle");
    if (fullscreen)
        xdg_toplevel_set_fullscreen(toplevel, nullptr);
    waitForConfigure();
}


bool runSaverOnSurface(EndingInput endingInput)
{
    hidePointer = endingInput == EndingInput::anything;
    presentHostFrame = presentEglFrame;
    startSaver(surfaceWidth, surfaceHeight, astrelleHooks(endingInput));
    int32_t running = 1;
    while (running == 1) {
        dispatchEvents(0);
        if (inputEndsRun || surfaceClosed) {
            running = 0;
            break;
        }
        // Calibration and measured frames follow at once, as on X11.
        const bool paused = drawSaverFrame() == SaverFrame::shown && waitToDrawAgain(options.delayMicroseconds);
        endSaverFrame(paused || pausedSinceAsked());
    }
    stopSaver();
    eglMakeCurrent(eglDisplay, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
    eglTerminate(eglDisplay);  // the context and its surface with it; the surface's role with the connection
    wl_display_disconnect(waylandDisplay);
    endSaver();
    return surfaceClosed && !inputEndsRun;
}
