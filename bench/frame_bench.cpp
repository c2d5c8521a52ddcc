// What the simulation and its bookkeeping add to a frame: drawFrame at a
// fixed particleCount against a bare loop, in the same process and run, that
// draws exactly the same squares through the same GL calls with no
// simulation. Every frame is first captured (the frame sequence with sinks
// that record its squares), the swarm is put back, and the frame is then drawn
// both ways, in alternating order, each finished with glFinish. Once at 4096
// particles, once at the count that calibration finds here. The figures are
// medians over the frames: other work on the machine lands in single frames.
//
//   build/win64/wine-session start
//   build/win64/wine-run build/win64/bench/frame_bench.exe [--frames N] [--window W,H]
#include <windows.h>
#include <GL/gl.h>

#include <algorithm>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "../astr/core/frame_clock.h"
#include "../astr/core/particles.h"
#include "../astr/core/platform.h"
#include "../astr/core/random.h"
#include "../astr/core/window_state.h"
#include "../astr/render/frame_drawing.h"
#include "../astr/render/saver.h"
#include "../astr/render/gl_state.h"
#include "gl_window_wgl.h"

namespace {

HDC benchDc;

}  // namespace

void presentFrame()
{
    SwapBuffers(benchDc);
}

namespace {

// A texture bind, or a square with or without a colour.
struct Captured {
    bool isBind;
    Sprite sprite;
    float cx, cy, hx, hy;
    bool colorSent;
    float color[4];
};

std::vector<Captured> captured;  // room for the largest frame, reserved once

void captureBind(Sprite sprite)
{
    captured.push_back(Captured{true, sprite, 0, 0, 0, 0, false, {}});
}

void captureSprite(float cx, float cy, float hx, float hy, const float* color)
{
    Captured square{false, Sprite::glow, cx, cy, hx, hy, color != nullptr, {}};
    if (color)
        std::memcpy(square.color, color, sizeof square.color);
    captured.push_back(square);
}

void drawCaptured()
{
    for (const Captured& c : captured)
        if (c.isBind)
            bindSprite(c.sprite);
        else
            drawSprite(c.cx, c.cy, c.hx, c.hy, c.colorSent ? c.color : nullptr);
}

// Everything a frame changes.
struct Swarm {
    std::vector<Particle> particles;
    Attractor attractor;
    float spinDegrees;
    uint32_t randomState;
};

void save(Swarm& swarm)
{
    swarm.particles.assign(particleBuffer, particleBuffer + particleCount);
    swarm.attractor = attractor;
    swarm.spinDegrees = spinDegrees;
    swarm.randomState = randomState;
}

void restore(const Swarm& swarm)
{
    std::memcpy(particleBuffer, swarm.particles.data(), swarm.particles.size() * sizeof(Particle));
    attractor = swarm.attractor;
    spinDegrees = swarm.spinDegrees;
    randomState = swarm.randomState;
}

double now()
{
    return static_cast<double>(readPerformanceCounter()) / static_cast<double>(readPerformanceFrequency());
}

double median(std::vector<double> values)
{
    std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
    return values[values.size() / 2];
}

double timeFrame(void (*draw)())
{
    glClear(GL_COLOR_BUFFER_BIT);
    glFinish();
    const double start = now();
    draw();
    glFinish();
    return now() - start;
}

void restartSwarm(int32_t count)
{
    std::free(particleBuffer);
    createParticleBuffer();
    initSimulation(1);
    calibrationFrames = 0;
    particleCount = count;
}

// The saver's own calibration, frame by frame as its main loop draws them.
void calibrate()
{
    restartSwarm(poolSize);
    calibrationFrames = defaultCalibrationFrames;
    beginSaverFrames();
    while (calibrationFrames != 0) {
        drawSaverFrame();
        endSaverFrame();
    }
}

void measure(int frames, const char* what)
{
    std::vector<double> drawn(frames), bare(frames), ratios(frames);
    uint64_t squares = 0, calls = 0;
    Swarm before, captureLeft;
    for (int frame = 0; frame < frames; ++frame) {
        runStats.stepSeconds = fixedStep;
        save(before);
        captured.clear();
        frameSequence<captureBind, captureSprite>();
        save(captureLeft);
        restore(before);

        if (frame % 2 == 0) {
            drawn[frame] = timeFrame(drawFrame);
            bare[frame] = timeFrame(drawCaptured);
        } else {
            bare[frame] = timeFrame(drawCaptured);
            drawn[frame] = timeFrame(drawFrame);
        }
        ratios[frame] = drawn[frame] / bare[frame];
        presentFrame();  // both left the same picture

        if (std::memcmp(captureLeft.particles.data(), particleBuffer, captureLeft.particles.size() * sizeof(Particle))) {
            std::fprintf(stderr, "frame_bench: drawFrame and the captured sequence left different swarms\n");
            std::exit(1);
        }
        for (const Captured& c : captured) {
            squares += !c.isBind;
            calls += c.isBind ? 1 : c.colorSent ? 11 : 10;
        }
    }
    std::printf("%s particleCount %" PRId32 ", %d frames: %.0f squares and %.0f GL calls a frame\n", what,
                particleCount, frames, static_cast<double>(squares) / frames, static_cast<double>(calls) / frames);
    std::printf("  drawFrame %.3f ms, the same squares bare %.3f ms; ratio of the two in one frame %.4f\n",
                1e3 * median(drawn), 1e3 * median(bare), median(ratios));
}

}  // namespace

int main(int argc, char** argv)
{
    int frames = 200, width = 1024, height = 768;
    bool understood = true;
    for (int i = 1; i < argc && understood; i += 2) {
        const char* value = i + 1 < argc ? argv[i + 1] : "";
        if (std::strcmp(argv[i], "--frames") == 0)
            understood = std::sscanf(value, "%d", &frames) == 1;
        else if (std::strcmp(argv[i], "--window") == 0)
            understood = std::sscanf(value, "%d,%d", &width, &height) == 2;
        else
            understood = false;
    }
    if (!understood || frames < 1 || width < 1 || height < 1) {
        std::fputs("usage: frame_bench [--frames N] [--window W,H]\n", stderr);
        return 2;
    }

    WglWindow gl = openWglWindow("astr frame bench", width, height);
    if (!gl.context) {
        std::fputs("frame_bench: no GL context\n", stderr);
        return 1;
    }
    benchDc = gl.dc;
    startSaver(width, height, SaverHooks{});
    captured.reserve(2 + 5 + 2 * static_cast<size_t>(poolSize));
    std::printf("window %d x %d, %s\n", width, height, reinterpret_cast<const char*>(glGetString(GL_RENDERER)));

    restartSwarm(4096);
    measure(frames, "fixed");
    calibrate();
    measure(frames, "calibrated");

    closeWglWindow(gl);
    endSaver();
    return 0;
}
