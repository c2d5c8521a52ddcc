#include "glx_context.h"

#include <GL/glx.h>

#include "../core/fatal_error.h"
#include "saver_window.h"

namespace {

GLXContext context;

}  // namespace

void createGlContext()
{
    context = glXCreateContext(display, &saverVisual, nullptr, True);
    if (!context)
        FatalError("Unable to create an opengl rendercontext.");
    if (!glXMakeCurrent(display, saverWindow, context) || windowGone)
        FatalError("Unable to make the rendercontext current.");
}

void presentGlxFrame()
{
    glXSwapBuffers(display, saverWindow);
}

void releaseGlContext()
{
    glXMakeCurrent(display, None, nullptr);
    glXDestroyContext(display, context);
}
