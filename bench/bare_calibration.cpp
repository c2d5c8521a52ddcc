#include "bare_calibration.h"

#include <GL/gl.h>

#include <chrono>
#include <vector>

#include "../astr/core/calibration.h"
#include "../astr/core/frame_clock.h"
#include "../astr/core/particles.h"
#include "../astr/core/window_state.h"
#include "../astr/render/frame_drawing.h"
#include "../astr/render/saver.h"

namespace {

// The squares of one calibration frame at the current count: the glow
// around the centre, then each particle where it stands, twice.
void drawCalibrationSquares(const std::vector<float>& places)
{
    static const float blue[4] = {glowBlue[0], glowBlue[1], glowBlue[2], 1.0f};
    static const float green[4] = {glowGreen[0], glowGreen[1], glowGreen[2], 1.0f};
    static const float orangeRed[4] = {particleOrangeRed[0], particleOrangeRed[1], particleOrangeRed[2], 0.5f};
    bindSprite(Sprite::glow);
    float half = 0.15f;
    for (int glow = 0; glow < 5; ++glow, half *= 0.5f)
        drawSprite(0, 0, half * aspectX, half * aspectY, glow == 1 ? nullptr : glow == 0 ? blue : green);
    bindSprite(Sprite::particle);
    for (int32_t i = 0; i < particleCount; ++i)
        for (int twice = 0; twice < 2; ++twice)
            drawSprite(places[2 * i], places[2 * i + 1], 0.01f * aspectX, 0.01f * aspectY, orangeRed);
}

// Where each record of the start swarm shows on the screen, unturned.
std::vector<float> startPlaces()
{
    std::vector<float> places(2 * poolSize);
    for (int32_t i = 0; i < poolSize; ++i) {
        const Vector3& p = particleBuffer[i].position;
        const Projection projection = projectPoint(p.x, p.y, p.z, 0.0f, 1.0f);
        places[2 * i] = projection.x;
        places[2 * i + 1] = projection.y;
    }
    return places;
}

}  // namespace

BareCalibration runBareCalibration(int width, int height)
{
    // One more than the frames run, so that the rule never meets its end.
    calibrationFrames = defaultCalibrationFrames + 1;
    startSaver(width, height, SaverHooks{});
    const std::vector<float> places = startPlaces();

    const auto begin = std::chrono::steady_clock::now();
    for (int frame = 1; frame <= defaultCalibrationFrames; ++frame) {
        calibrationStep();
        glClear(GL_COLOR_BUFFER_BIT);
        drawCalibrationSquares(places);
        glFinish();
        updateFrameTiming();
    }
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - begin;
    return {particleCount, took.count()};
}
