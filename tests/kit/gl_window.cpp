#include "gl_window.h"

#include <GL/gl.h>

std::vector<unsigned char> readBackBuffer(int width, int height)
{
    glFinish();
    std::vector<unsigned char> pixels(3 * static_cast<size_t>(width) * static_cast<size_t>(height));
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}
