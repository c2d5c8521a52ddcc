// The picture drawn for real: setupGlState and drawFrame in a GL context on
// the test display, chosen states drawn and the back buffer read back. The
// same cases run under Wine against WGL and natively against GLX.
#include <gtest/gtest.h>
#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>
#include <vector>

#include "../../astr/core/frame_clock.h"
#include "../../astr/core/particles.h"
#include "../../astr/core/window_state.h"
#include "../../astr/render/frame_drawing.h"
#include "../../astr/render/gl_state.h"
#include "../../astr/render/sprites.h"
#include "gl_window.h"

namespace {

constexpr int side = 256;  // a square window: both aspect factors 1

struct Rgb {
    int r, g, b;
};

// side x side pixels of red, green, blue; the bottom row first.
using Image = std::vector<unsigned char>;

Rgb pixel(const Image& image, int x, int y)
{
    const unsigned char* p = &image[3 * (y * side + x)];
    return Rgb{p[0], p[1], p[2]};
}

// Where the centre of pixel column (or row) i lies in normalised device units.
float pixelCentre(int i)
{
    return (static_cast<float>(i) + 0.5f) * 2.0f / side - 1.0f;
}

std::string notReady = "not set up";  // "" once a context is current and setupGlState left no GL error

class Picture : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        notReady = openGlWindow("astr picture", side, side);
        if (!notReady.empty())
            return;
        createParticleBuffer();
        setupGlState(side, side);
        // What the window's resize does: the matrices stay the identity.
        glViewport(0, 0, side, side);
        setAspectForClientSize(side, side);
        if (glGetError() != GL_NO_ERROR)
            notReady = "setupGlState left a GL error";
    }

    static void TearDownTestSuite()
    {
        closeGlWindow();
        std::free(particleBuffer);
        particleBuffer = nullptr;
    }

    void SetUp() override
    {
        ASSERT_EQ(notReady, "") << "no picture to draw in";
        calibrationFrames = 0;
        particleCount = 2;
        runStats.stepSeconds = 0.0f;  // nothing moves and the view does not turn
        spinDegrees = 0.0f;
        attractor = Attractor{};  // the glow at the centre
        placeUnseen(0, 0.0f, 0.0f, 0.0f);
        placeUnseen(1, 0.0f, 0.0f, 0.0f);
    }

    // Past the far end of the visible depth: drawn once a frame where it was
    // last seen, with that brightness.
    static void placeUnseen(int32_t i, float screenX, float screenY, float brightness)
    {
        Particle& p = particleBuffer[i];
        p.position = Vector3{0.0f, 0.0f, 0.95f};
        p.velocity = Vector3{};
        p.screenX = screenX;
        p.screenY = screenY;
        p.brightness = brightness;
    }

    static Image drawAndReadBack()
    {
        glClear(GL_COLOR_BUFFER_BIT);
        drawFrame();
        return readBackBuffer(side, side);
    }
};

}  // namespace

TEST_F(Picture, BlackBackgroundAndABlueGreenGlowCentre)
{
    const Image image = drawAndReadBack();

    for (int c : {side / 2 - 1, side / 2}) {
        const Rgb centre = pixel(image, c, c);
        EXPECT_GE(centre.g, 250);
        EXPECT_GE(centre.b, 250);
        EXPECT_GT(centre.r, 0);
        EXPECT_LE(centre.r, 64);
    }
    int lit = 0;
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x) {
            const Rgb p = pixel(image, x, y);
            const bool outsideGlow = std::abs(pixelCentre(x)) > 0.15f || std::abs(pixelCentre(y)) > 0.15f;
            if (outsideGlow) {
                ASSERT_EQ(p.r + p.g + p.b, 0) << "at " << x << "," << y;
            }
            lit += p.r + p.g + p.b > 0;
        }
    EXPECT_GT(lit, 30 * 30);  // the glow spans 0.3 of 2 units, 38 pixels, each way
}

TEST_F(Picture, LoneParticleIsOrangeRedAtColourTimesLuminanceTimesAlpha)
{
    const int c = 191;  // a particle square centred on this pixel
    placeUnseen(0, pixelCentre(c), pixelCentre(c), 0.8f);

    const Image image = drawAndReadBack();

    // The square's centre samples midway between the sprite's four centre texels.
    auto texel = [](int row, int column) { return particleSprite[row * particleSpriteSize + column]; };
    const double luminance = (texel(7, 7) + texel(7, 8) + texel(8, 7) + texel(8, 8)) / 4.0 / 255.0;
    const Rgb centre = pixel(image, c, c);
    EXPECT_NEAR(centre.r, 255 * 1.0 * luminance * 0.8, 2.0);
    EXPECT_NEAR(centre.g, 255 * 0.19 * luminance * 0.8, 2.0);
    EXPECT_NEAR(centre.b, 255 * 0.065 * luminance * 0.8, 2.0);
    for (int y = c - 3; y <= c + 3; ++y)
        for (int x = c - 3; x <= c + 3; ++x) {
            const Rgb p = pixel(image, x, y);
            EXPECT_TRUE(p.r >= p.g && p.g >= p.b) << "at " << x << "," << y;
        }
}

TEST_F(Picture, OverlappingSquaresAddUp)
{
    auto drawn = [](float alphaA, float alphaB) {
        placeUnseen(0, pixelCentre(191), pixelCentre(191), alphaA);
        placeUnseen(1, pixelCentre(192), pixelCentre(190), alphaB);
        return drawAndReadBack();
    };
    const Image both = drawn(0.5f, 0.3f), onlyA = drawn(0.5f, 0.0f), onlyB = drawn(0.0f, 0.3f),
                neither = drawn(0.0f, 0.0f);

    int overlapping = 0;
    for (size_t i = 0; i < both.size(); ++i) {
        const int a = onlyA[i] - neither[i], b = onlyB[i] - neither[i];
        EXPECT_NEAR(both[i] - neither[i], a + b, 1) << "byte " << i;
        overlapping += a > 0 && b > 0;
    }
    EXPECT_GT(overlapping, 3);
}

TEST_F(Picture, OrderOfTheSquaresChangesNothing)
{
    particleCount = 8;  // over one another and over the glow
    for (int32_t i = 0; i < particleCount; ++i)
        placeUnseen(i, 0.004f * i, 0.1f - 0.003f * i, 0.1f + 0.1f * i);
    const Image forwards = drawAndReadBack();

    std::reverse(particleBuffer, particleBuffer + particleCount);
    const Image backwards = drawAndReadBack();

    EXPECT_TRUE(forwards == backwards);
}

TEST_F(Picture, BadStatesAreDrawnWithoutAFault)
{
    const float notANumber = std::numeric_limits<float>::quiet_NaN();
    const float infinity = std::numeric_limits<float>::infinity();
    initSimulation(1);
    particleCount = poolSize;
    attractor.position = Vector3{0.0f, 0.0f, -cameraDistance};  // at the eye's plane: no finite place
    particleBuffer[0].position = Vector3{notANumber, notANumber, notANumber};
    placeUnseen(1, notANumber, notANumber, notANumber);
    particleBuffer[2].position = Vector3{infinity, -infinity, infinity};
    placeUnseen(3, infinity, -infinity, 1.0f);

    const Image image = drawAndReadBack();

    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    // The swarm starts within 0.15 of the centre and lands well inside the
    // window; nothing strays to its edges.
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x)
            if (std::abs(pixelCentre(x)) > 0.9f || std::abs(pixelCentre(y)) > 0.9f) {
                const Rgb p = pixel(image, x, y);
                ASSERT_EQ(p.r + p.g + p.b, 0) << "at " << x << "," << y;
            }
}
