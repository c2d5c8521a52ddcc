#include "frame_drawing.h"

#include <GL/gl.h>

#include "gl_state.h"

// s runs down the square and t across it, so the tables appear transposed,
// which the near symmetry of both sprites hides.
const float cornerTexCoords[4][2] = {{0.0f, 0.0f}, {0.0f, 1.0f}, {1.0f, 1.0f}, {1.0f, 0.0f}};

void bindSprite(Sprite sprite)
{
    glBindTexture(GL_TEXTURE_2D, sprite == Sprite::glow ? glowTexture : particleTexture);
}

// Immediate mode: per square one polygon, at most one colour, four corners.
void drawSprite(float cx, float cy, float hx, float hy, const float* color)
{
    glBegin(GL_POLYGON);
    if (color)
        glColor4fv(color);
    glTexCoord2fv(cornerTexCoords[0]);
    glVertex2f(cx - hx, cy + hy);
    glTexCoord2fv(cornerTexCoords[1]);
    glVertex2f(cx + hx, cy + hy);
    glTexCoord2fv(cornerTexCoords[2]);
    glVertex2f(cx + hx, cy - hy);
    glTexCoord2fv(cornerTexCoords[3]);
    glVertex2f(cx - hx, cy - hy);
    glEnd();
}

void drawFrame()
{
    frameSequence<bindSprite, drawSprite>();
}
