#include "gl_state.h"

#include <GL/gl.h>

#include "../core/frame_clock.h"
#include "../core/particles.h"
#include "../core/platform.h"
#include "../core/window_state.h"
#include "sprites.h"

static_assert(sizeof(GLuint) == sizeof(uint32_t), "texture names are 32-bit");

uint32_t glowTexture;
uint32_t particleTexture;

namespace {

// Linear filters and no mipmaps; the wrap modes and the texture environment
// (GL_MODULATE: colour times luminance, the colour's alpha) keep their defaults.
void uploadSprite(GLuint texture, GLsizei size, const uint8_t* luminance)
{
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexImage2D(GL_TEXTURE_2D, 0, 1, size, size, 0, GL_LUMINANCE, GL_UNSIGNED_BYTE, luminance);
}

GLint readInteger(GLenum name)
{
    GLint value = 0;
    glGetIntegerv(name, &value);
    return value;
}

}  // namespace

int setupGlState(int, int)
{
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glDepthFunc(GL_ALWAYS);
    glDisable(GL_DEPTH_TEST);
    // Every square adds colour x luminance x alpha to the frame, so the order
    // in which the squares are drawn changes nothing in the picture.
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glShadeModel(GL_SMOOTH);

    startFrameTiming();
    // Seconds since 1970 times the low word of the counter as the clock's
    // start last read it, modulo 2^32.
    initSimulation(static_cast<uint32_t>(readSecondsSince1970()) * runStats.lastTick);

    glEnable(GL_TEXTURE_2D);
    GLuint names[2];
    glGenTextures(2, names);
    glowTexture = names[0];
    particleTexture = names[1];
    uploadSprite(glowTexture, glowSpriteSize, glowSprite);
    uploadSprite(particleTexture, particleSpriteSize, particleSprite);

    const GLenum channels[] = {GL_RED_BITS, GL_GREEN_BITS, GL_BLUE_BITS, GL_ALPHA_BITS};
    int32_t colorBits = 0;
    for (GLenum channel : channels)
        colorBits += readInteger(channel);
    runStats.colorBits = colorBits;
    runStats.depthBits = readInteger(GL_DEPTH_BITS);
    return 0;
}

void resizePicture(int32_t width, int32_t height)
{
    if (height == 0)
        height = 1;
    glViewport(0, 0, width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    setAspectForClientSize(static_cast<uint32_t>(width), static_cast<uint32_t>(height));
}
