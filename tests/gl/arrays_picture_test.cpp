// Natively the frame is also drawn from client-side arrays: the fixed frame
// drawn that way is the immediate mode's picture, but for rounding.
#include <gtest/gtest.h>
#include <GL/gl.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "../../astr/render/frame_arrays.h"
#include "../../astr/render/frame_drawing.h"
#include "../../astr/render/gl_state.h"
#include "fixed_swarm.h"
#include "gl_window.h"
#include "swarm_colours.h"

namespace {

std::vector<unsigned char> drawnFixedFrame(void (*draw)())
{
    setFixedSwarm();
    glClear(GL_COLOR_BUFFER_BIT);
    draw();
    return readBackBuffer(fixedFrameWidth, fixedFrameHeight);
}

bool showsTheSwarm(const std::vector<unsigned char>& rgb)
{
    std::vector<uint32_t> pixels;
    for (size_t i = 0; i + 2 < rgb.size(); i += 3)
        pixels.push_back(uint32_t{rgb[i]} << 16 | uint32_t{rgb[i + 1]} << 8 | rgb[i + 2]);
    return showsTheSwarmAroundItsGlow(countColours(pixels), pixels.size());
}

}  // namespace

// Triangles other than the polygon's may round a few pixels the other way:
// at most 10 pixels may differ, by one level.
TEST(FixedFrame, FromArraysIsTheImmediateModePicture)
{
    ASSERT_EQ(openGlWindow("astr fixed frame from arrays", fixedFrameWidth, fixedFrameHeight), "");
    createParticleBuffer();
    setupGlState(fixedFrameWidth, fixedFrameHeight);
    resizePicture(fixedFrameWidth, fixedFrameHeight);
    const std::vector<unsigned char> immediate = drawnFixedFrame(drawFrame);
    const std::vector<unsigned char> arrays = drawnFixedFrame(drawFrameFromArrays);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    closeGlWindow();
    std::free(particleBuffer);
    particleBuffer = nullptr;

    EXPECT_TRUE(showsTheSwarm(immediate) && showsTheSwarm(arrays));
    ASSERT_EQ(arrays.size(), immediate.size());
    int differing = 0, most = 0;
    for (size_t i = 0; i < arrays.size(); i += 3) {
        int pixelMost = 0;
        for (size_t k = i; k < i + 3; ++k)
            pixelMost = std::max(pixelMost, std::abs(arrays[k] - immediate[k]));
        differing += pixelMost != 0;
        most = std::max(most, pixelMost);
    }
    EXPECT_LE(differing, 10);
    EXPECT_LE(most, 1);
}
