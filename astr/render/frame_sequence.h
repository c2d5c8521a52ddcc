// One frame of the picture in the order it is made: the simulation's frame
// head, the attractor's glow, then every particle drawn where it was last
// seen, stepped, and drawn again where it is now. The frame drawing runs it
// with GL; the headless runner runs it with sinks that draw nothing, so both
// advance the swarm by the one sequence. The sinks are template arguments:
// empty ones compile away and leave the bare simulation loop.
#pragma once

#include <cstdint>

#include "../core/particles.h"
#include "../core/window_state.h"

enum class Sprite { glow, particle };

// Selects the texture of the squares that follow.
using BindSprite = void (*)(Sprite sprite);

// Draws one square centred at (cx, cy) with half-sizes hx, hy in normalised
// device units. color is red, green, blue, alpha; null sends no colour, and
// the colour of the square before carries over.
using DrawSprite = void (*)(float cx, float cy, float hx, float hy, const float* color);

// The picture's colours, red, green and blue; a square's alpha is its brightness.
constexpr float glowBlue[3] = {0.07f, 0.3f, 1.0f};
constexpr float glowGreen[3] = {0.07f, 1.0f, 0.3f};
constexpr float particleOrangeRed[3] = {1.0f, 0.19f, 0.065f};

template <BindSprite bindSprite, DrawSprite drawSprite>
void frameSequence()
{
    beginFrameStep();

    const Projection glow =
        projectPoint(attractor.position.x, attractor.position.y, attractor.position.z, spinSin, spinCos);
    const float glowAlpha = attractorBrightness(glow.depthFactor);
    const float blue[4] = {glowBlue[0], glowBlue[1], glowBlue[2], glowAlpha};
    const float green[4] = {glowGreen[0], glowGreen[1], glowGreen[2], glowAlpha};
    // Five squares, each half the size of the one before: two blue (the
    // second keeps the first one's colour), then three green.
    const float* const glowColors[] = {blue, nullptr, green, green, green};
    float hx = static_cast<float>(0.15 * aspectX);
    float hy = static_cast<float>(0.15 * aspectY);
    bindSprite(Sprite::glow);
    for (const float* color : glowColors) {
        drawSprite(glow.x, glow.y, hx, hy, color);
        hx *= 0.5f;
        hy *= 0.5f;
    }

    const float qx = static_cast<float>(0.01 * aspectX);
    const float qy = static_cast<float>(0.01 * aspectY);
    float orangeRed[4] = {particleOrangeRed[0], particleOrangeRed[1], particleOrangeRed[2], 0.0f};
    bindSprite(Sprite::particle);
    const int32_t count = particleCount;  // fixed once the frame head has run
    for (int32_t i = 0; i < count; ++i) {
        const Particle& p = particleBuffer[i];
        orangeRed[3] = p.brightness;
        drawSprite(p.screenX, p.screenY, qx, qy, orangeRed);
        if (stepParticle(i, spinSin, spinCos)) {
            orangeRed[3] = p.brightness;
            drawSprite(p.screenX, p.screenY, qx, qy, orangeRed);
        }
    }
}
