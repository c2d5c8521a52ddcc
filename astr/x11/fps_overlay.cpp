#include "fps_overlay.h"

#include <GL/glx.h>

#include <cstdio>
#include <cstring>

#include "../core/frame_clock.h"
#include "../core/particles.h"
#include "saver_window.h"

namespace {

constexpr int firstGlyph = 32;
constexpr int glyphCount = 96;  // the printable ASCII characters
constexpr int margin = 10;      // pixels from the window's edges
constexpr double refreshSeconds = 1.0;

GLuint glyphLists;  // one display list a glyph; 0 until the font is loaded
int lineHeight;
bool noFont;

double secondsCounted;  // since the rate was last worked out
int framesCounted;
char rateText[32] = "FPS: -";

void loadFont()
{
    XFontStruct* font = XLoadQueryFont(display, "fixed");
    if (!font) {
        noFont = true;
        return;
    }
    glyphLists = glGenLists(glyphCount);
    glXUseXFont(font->fid, firstGlyph, glyphCount, glyphLists);
    // The blank has no bitmap, and its list comes out empty: it would not
    // move the raster position on.
    const XCharStruct& blank = font->per_char && font->min_char_or_byte2 <= ' ' && font->max_char_or_byte2 >= ' '
                                   ? font->per_char[' ' - font->min_char_or_byte2]
                                   : font->max_bounds;
    glNewList(glyphLists + (' ' - firstGlyph), GL_COMPILE);
    glBitmap(0, 0, 0.0f, 0.0f, static_cast<GLfloat>(blank.width), 0.0f, nullptr);
    glEndList();
    lineHeight = font->ascent + font->descent;
    XFreeFont(display, font);
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
    glListBase(glyphLists - firstGlyph);
    glCallLists(static_cast<GLsizei>(std::strlen(text)), GL_UNSIGNED_BYTE, text);
}

}  // namespace

void drawFpsOverlay()
{
    if (!glyphLists && !noFont)
        loadFont();
    countFrame();
    if (noFont)
        return;
    char countText[32];
    std::snprintf(countText, sizeof countText, "Particles: %d", static_cast<int>(particleCount));

    // White, added to the picture like every square; no texture for glyphs.
    glDisable(GL_TEXTURE_2D);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    drawLine(countText, margin);
    drawLine(rateText, margin + lineHeight);
    glEnable(GL_TEXTURE_2D);
}
