// fixed_frame: one frame of a fixed swarm, drawn by the screensaver's own GL
// state and frame drawing in a 640 x 480 window and written as a binary PPM.
// The native build and the Windows builds under Wine step the swarm to the
// same bits and draw it with the same Mesa, so their files are the same byte
// for byte. A picture that is not orange-red particles around the
// blue-green glow on black ends it with status 3: a blank frame is no frame.
#include <GL/gl.h>

#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "../../astr/core/particles.h"
#include "../../astr/render/frame_drawing.h"
#include "../../astr/render/gl_state.h"
#include "fixed_swarm.h"
#include "swarm_colours.h"
#include "gl_window.h"

namespace {

constexpr int width = fixedFrameWidth, height = fixedFrameHeight;

// Read back bottom row first; answered top row first, as 0xRRGGBB.
std::vector<uint32_t> topRowFirst(const std::vector<unsigned char>& rgb)
{
    std::vector<uint32_t> pixels;
    pixels.reserve(static_cast<size_t>(width) * height);
    for (int y = height - 1; y >= 0; --y)
        for (int x = 0; x < width; ++x) {
            const unsigned char* p = &rgb[3 * (static_cast<size_t>(y) * width + x)];
            pixels.push_back(uint32_t{p[0]} << 16 | uint32_t{p[1]} << 8 | p[2]);
        }
    return pixels;
}

bool writePpm(const char* path, const std::vector<uint32_t>& pixels)
{
    std::FILE* file = std::fopen(path, "wb");
    if (!file)
        return false;
    std::fprintf(file, "P6\n%d %d\n255\n", width, height);
    for (uint32_t p : pixels) {
        const unsigned char rgb[3] = {static_cast<unsigned char>(p >> 16), static_cast<unsigned char>(p >> 8),
                                      static_cast<unsigned char>(p)};
        std::fwrite(rgb, 1, 3, file);
    }
    const bool written = !std::ferror(file);
    return std::fclose(file) == 0 && written;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2 || *argv[1] == '\0') {
        std::fputs("usage: fixed_frame OUTPUT.ppm\n", stderr);
        return 2;
    }
    const std::string notOpen = openGlWindow("astr fixed frame", width, height);
    if (!notOpen.empty()) {
        std::fprintf(stderr, "fixed_frame: %s\n", notOpen.c_str());
        return 1;
    }
    createParticleBuffer();
    setupGlState(width, height);
    resizePicture(width, height);
    setFixedSwarm();
    const char* renderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
    std::printf("fixed_frame: %d x %d, %" PRId32 " particles, on %s\n", width, height, particleCount,
                renderer ? renderer : "an unnamed renderer");
    glClear(GL_COLOR_BUFFER_BIT);
    drawFrame();
    const std::vector<uint32_t> pixels = topRowFirst(readBackBuffer(width, height));
    closeGlWindow();
    std::free(particleBuffer);

    if (!writePpm(argv[1], pixels)) {
        std::fprintf(stderr, "fixed_frame: cannot write %s\n", argv[1]);
        return 1;
    }
    const ColourCounts counts = countColours(pixels);
    std::printf("fixed_frame: %zu black, %zu orange-red, %zu blue-green pixels\n", counts.black, counts.orangeRed,
                counts.blueGreen);
    if (!showsTheSwarmAroundItsGlow(counts, pixels.size())) {
        std::fputs("fixed_frame: the frame is not the swarm around its glow on black\n", stderr);
        return 3;
    }
    return 0;
}
