#include "fps_overlay.h"

#include <GL/gl.h>

#include <cstdint>
#include <cstdio>

#include "../core/frame_clock.h"
#include "../core/particles.h"

namespace {

// The characters the two lines use, five pixels by seven, top row first,
// bit 4 the leftmost pixel.
struct Glyph {
    char character;
    uint8_t rows[7];
};
constexpr Glyph glyphs[] = {
    {'0', {0x0E, 0x11, 0x13, 0x15, 0x19, 0x11, 0x0E}}, {'1', {0x04, 0x0C, 0x04, 0x04, 0x04, 0x04, 0x0E}},
    {'2', {0x0E, 0x11, 0x01, 0x02, 0x04, 0x08, 0x1F}}, {'3', {0x1F, 0x02, 0x04, 0x02, 0x01, 0x11, 0x0E}},
    {'4', {0x02, 0x06, 0x0A, 0x12, 0x1F, 0x02, 0x02}}, {'5', {0x1F, 0x10, 0x1E, 0x01, 0x01, 0x11, 0x0E}},
    {'6', {0x06, 0x08, 0x10, 0x1E, 0x11, 0x11, 0x0E}}, {'7', {0x1F, 0x01, 0x02, 0x04, 0x08, 0x08, 0x08}},
    {'8', {0x0E, 0x11, 0x11, 0x0E, 0x11, 0x11, 0x0E}}, {'9', {0x0E, 0x11, 0x11, 0x0F, 0x01, 0x02, 0x0C}},
    {'.', {0x00, 0x00, 0x00, 0x00, 0x00, 0x0C, 0x0C}}, {':', {0x00, 0x0C, 0x0C, 0x00, 0x0C, 0x0C, 0x00}},
    {'-', {0x00, 0x00, 0x00, 0x1F, 0x00, 0x00, 0x00}}, {'F', {0x1F, 0x10, 0x10, 0x1E, 0x10, 0x10, 0x10}},
    {'P', {0x1E, 0x11, 0x11, 0x1E, 0x10, 0x10, 0x10}}, {'S', {0x0F, 0x10, 0x10, 0x0E, 0x01, 0x01, 0x1E}},
    {'a', {0x00, 0x00, 0x0E, 0x01, 0x0F, 0x11, 0x0F}}, {'c', {0x00, 0x00, 0x0E, 0x10, 0x10, 0x11, 0x0E}},
    {'e', {0x00, 0x00, 0x0E, 0x11, 0x1F, 0x10, 0x0E}}, {'i', {0x04, 0x00, 0x0C, 0x04, 0x04, 0x04, 0x0E}},
    {'l', {0x0C, 0x04, 0x04, 0x04, 0x04, 0x04, 0x0E}}, {'r', {0x00, 0x00, 0x16, 0x19, 0x10, 0x10, 0x10}},
    {'s', {0x00, 0x00, 0x0E, 0x10, 0x0E, 0x01, 0x1E}}, {'t', {0x08, 0x08, 0x1C, 0x08, 0x08, 0x09, 0x06}},
};
constexpr int glyphCount = sizeof glyphs / sizeof *glyphs;
constexpr int scale = 2;  // each pixel of a glyph as two by two
constexpr int glyphHeight = 7 * scale, advance = 6 * scale, lineHeight = 10 * scale;
constexpr int margin = 10;  // pixels from the window's edges
constexpr double refreshSeconds = 1.0;

// The glyphs at their scale as glBitmap takes them: bottom row first, two
// bytes a row, the leftmost pixel in the first byte's top bit.
GLubyte bitmaps[glyphCount][glyphHeight][2];
bool bitmapsMade;

double secondsCounted;  // since the rate was last worked out
int framesCounted;
char rateText[32] = "FPS: -";

void makeBitmaps()
{
    for (int g = 0; g < glyphCount; ++g)
        for (int y = 0; y < glyphHeight; ++y) {
            const uint8_t row = glyphs[g].rows[6 - y / scale];
            unsigned bits = 0;
            for (int x = 0; x < 5 * scale; ++x)
                if (row & (0x10 >> (x / scale)))
                    bits |= 0x8000u >> x;
            bitmaps[g][y][0] = static_cast<GLubyte>(bits >> 8);
            bitmaps[g][y][1] = static_cast<GLubyte>(bits);
        }
    bitmapsMade = true;
}

// The rate over the last second or so, steadier than a single frame's.
void countFrame()
{
    secondsCounted += runStats.frameSeconds;
    ++framesCounted;
    if (secondsCounted < refreshSeconds)
        return;
    std::snprintf(rateText, sizeof rateText, "FPS: %.1f", framesCounted / secondsCounted);
    secondsCounted = 0.0;
    framesCounted = 0;
}

void drawLine(const char* text, int baseline)
{
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    const float width = viewport[2] > 0 ? static_cast<float>(viewport[2]) : 1.0f;
    const float height = viewport[3] > 0 ? static_cast<float>(viewport[3]) : 1.0f;
    glRasterPos2f(-1.0f + 2.0f * margin / width, -1.0f + 2.0f * static_cast<float>(baseline) / height);
    for (const char* c = text; *c; ++c) {
        int g = 0;
        while (g < glyphCount && glyphs[g].character != *c)
            ++g;
        // A blank, or a character the font lacks, only moves the raster position on.
        glBitmap(g < glyphCount ? 16 : 0, g < glyphCount ? glyphHeight : 0, 0.0f, 0.0f, advance, 0.0f,
                 g < glyphCount ? bitmaps[g][0] : nullptr);
    }
}

}  // namespace

void drawFpsOverlay()
{
    if (!bitmapsMade)
        makeBitmaps();
    countFrame();
    char countText[32];
    std::snprintf(countText, sizeof countText, "Particles: %d", static_cast<int>(particleCount));
    // White, added to the picture like every square; no texture for glyphs.
    glDisable(GL_TEXTURE_2D);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    drawLine(countText, margin);
    drawLine(rateText, margin + lineHeight);
    glEnable(GL_TEXTURE_2D);
}
