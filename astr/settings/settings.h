// The screensaver's user settings as loaded from the registry. The colour and
// depth choices are not kept here: the load turns them into the bit counts
// of the pixel-format request.
#pragma once

#include <cstdint>

struct Settings {
    int32_t Music;       // 1: loop the background sound in a full-screen run
    int32_t Resolution;  // 0 desktop size, 1 640 x 480, 2 320 x 240, else as 0
    int32_t glFinish;    // non-zero: wait for the GL pipeline after every frame
    int32_t OpenGLInst;  // 1: register the window class under the GL library
    int32_t FixedSync;   // 1: step the swarm by 0.01 s instead of the frame time
};

extern Settings settings;
