// Puts the screensaver's module state back to a program start for each test.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#include "../../astr/core/frame_clock.h"
#include "../../astr/core/particles.h"
#include "../../astr/core/random.h"
#include "../../astr/core/run_mode.h"
#include "../../astr/core/settings.h"
#include "../../astr/core/window_state.h"
#include "fake_platform.h"

class SimTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        fakePlatform = FakePlatform{};
        settings = Settings{};
        runStats = RunStats{};
        runStats.fixedStepSeconds = fixedStep;
        runMode = Saver;
        std::memset(keyDown, 0, sizeof keyDown);
        aspectX = aspectY = 1.0f;
        particleCount = poolSize;
        calibrationFrames = 0;
        attractor = Attractor{};
        spinDegrees = 0.0f;
        spinSin = 0.0f;
        spinCos = 1.0f;
        randomState = 0;
        createParticleBuffer();
        std::memset(particleBuffer, 0, poolSize * sizeof(Particle));
    }

    void TearDown() override
    {
        std::free(particleBuffer);
        particleBuffer = nullptr;
    }
};
