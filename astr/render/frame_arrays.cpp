#include "frame_arrays.h"

#include <GL/gl.h>

#include "frame_drawing.h"

namespace {

// One corner as the arrays hold it. Interleaved, so that the texture
// coordinates, the same for every square, are written once.
struct Corner {
    GLfloat x, y;
    GLfloat s, t;
    GLfloat color[4];
};

// The most squares a frame draws: the glow's five and two for each particle of the pool.
constexpr int32_t maxSquares = 5 + 2 * poolSize;

// Each square as the two triangles of GL_POLYGON's fan: of GL 1.1's ways,
// indexed triangles sent the frame fastest on Mesa's llvmpipe
// (docs/benchmarks.md).
// The corner count (4 a square) passes 16 bits, hence unsigned int indices.
const GLuint fanCorners[6] = {0, 1, 2, 0, 2, 3};

Corner corners[maxSquares * 4];
GLuint cornerIndices[maxSquares * 6];
bool constantsWritten;
int32_t gathered;                                 // squares gathered since the last draw call
GLfloat lastColor[4] = {1.0f, 1.0f, 1.0f, 1.0f};  // a null colour repeats it; GL's first current colour

void writeConstants()
{
    for (int32_t i = 0; i < maxSquares * 4; ++i) {
        corners[i].s = cornerTexCoords[i % 4][0];
        corners[i].t = cornerTexCoords[i % 4][1];
    }
    for (int32_t i = 0; i < maxSquares * 6; ++i)
        cornerIndices[i] = static_cast<GLuint>(4 * (i / 6)) + fanCorners[i % 6];
}

void sendGathered()
{
    if (gathered != 0)
        glDrawElements(GL_TRIANGLES, 6 * gathered, GL_UNSIGNED_INT, cornerIndices);
    gathered = 0;
}

// The squares gathered so far go out with the texture bound before them.
void bindAfterSending(Sprite sprite)
{
    sendGathered();
    bindSprite(sprite);
}

void gatherSprite(float cx, float cy, float hx, float hy, const float* color)
{
    if (gathered == maxSquares)  // more than a frame draws: sent in parts rather than overrun
        sendGathered();
    if (color)
        for (int k = 0; k < 4; ++k)
            lastColor[k] = color[k];
    const GLfloat place[4][2] = {{cx - hx, cy + hy}, {cx + hx, cy + hy}, {cx + hx, cy - hy}, {cx - hx, cy - hy}};
    Corner* c = &corners[4 * gathered++];
    for (int i = 0; i < 4; ++i) {
        c[i].x = place[i][0];
        c[i].y = place[i][1];
        for (int k = 0; k < 4; ++k)
            c[i].color[k] = lastColor[k];
    }
}

}  // namespace

void drawFrameFromArrays()
{
    if (!constantsWritten) {
        writeConstants();
        constantsWritten = true;
    }
    glVertexPointer(2, GL_FLOAT, sizeof(Corner), &corners[0].x);
    glTexCoordPointer(2, GL_FLOAT, sizeof(Corner), &corners[0].s);
    glColorPointer(4, GL_FLOAT, sizeof(Corner), corners[0].color);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glEnableClientState(GL_COLOR_ARRAY);
    frameSequence<bindAfterSending, gatherSprite>();
    sendGathered();
    glDisableClientState(GL_VERTEX_ARRAY);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    glDisableClientState(GL_COLOR_ARRAY);
}
