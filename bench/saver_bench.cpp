// How close astr.scr's calibration comes to what the machine can draw, and
// how long the saver takes to show its first frame.
//
// Each round starts, one after the other:
// - astr.scr /s, as a debuggee: the count it calibrated to, and the time from
//   its start to its first presented frame, come with the line it hands a
//   debugger when calibration ends; then it gets Escape;
// - this program with --bare: a loop in a process of its own that draws the
//   same squares (the five glow squares, and every particle of the start
//   swarm twice, as the calibration frames do) in a window of the screen's
//   size, and tunes the count by the same square-root rule over the same
//   number of frames, with no simulation; its count is its exit code;
// - this program with --nothing: Wine's own start-up, for scale.
//
//   build/win64/wine-session start
//   build/win64/wine-run build/win64/bench/saver_bench.exe build/win64/astr/astr.scr [--rounds N]
#include <windows.h>
#include <GL/gl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "../astr/core/calibration.h"
#include "../astr/core/frame_clock.h"
#include "../astr/core/particles.h"
#include "../astr/core/window_state.h"
#include "../astr/render/frame_drawing.h"
#include "../astr/render/gl_state.h"
#include "gl_window_wgl.h"

namespace {

constexpr DWORD saverTimeoutMs = 120000;

double seconds()
{
    LARGE_INTEGER counter, frequency;
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// The squares of one calibration frame at the current count: the glow
// around the centre, then each particle where it stands, twice.
void drawCalibrationSquares(const std::vector<float>& places)
{
    static const float blue[4] = {0.07f, 0.3f, 1.0f, 1.0f};
    static const float green[4] = {0.07f, 1.0f, 0.3f, 1.0f};
    static const float orangeRed[4] = {1.0f, 0.19f, 0.065f, 0.5f};
    bindSprite(Sprite::glow);
    float half = 0.15f;
    for (int glow = 0; glow < 5; ++glow, half *= 0.5f)
        drawSprite(0, 0, half * aspectX, half * aspectY, glow == 1 ? nullptr : glow == 0 ? blue : green);
    bindSprite(Sprite::particle);
    for (int32_t i = 0; i < particleCount; ++i)
        for (int twice = 0; twice < 2; ++twice)
            drawSprite(places[2 * i], places[2 * i + 1], 0.01f * aspectX, 0.01f * aspectY, orangeRed);
}

// The bare loop: the main loop's calibration frames, with the simulation's
// step taken out but its count rule (calibrationStep) kept.
int runBare()
{
    const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    WglWindow gl = openWglWindow("bare squares", width, height);
    if (!gl.context)
        return 0;
    createParticleBuffer();
    setupGlState(width, height);
    glViewport(0, 0, width, height);
    setAspectForClientSize(width, height);
    std::vector<float> places(2 * poolSize);
    for (int32_t i = 0; i < poolSize; ++i) {
        const Vector3& p = particleBuffer[i].position;
        const Projection projection = projectPoint(p.x, p.y, p.z, 0.0f, 1.0f);
        places[2 * i] = projection.x;
        places[2 * i + 1] = projection.y;
    }

    SetPriorityClass(GetCurrentProcess(), HIGH_PRIORITY_CLASS);
    for (int prime = 0; prime < 2; ++prime) {
        glClear(GL_COLOR_BUFFER_BIT);
        SwapBuffers(gl.dc);
        glFinish();
        updateFrameTiming();
    }
    runStats.fixedStepSeconds = 0.01f;
    // One more than the frames run, so that the rule never meets its end.
    calibrationFrames = defaultCalibrationFrames + 1;
    for (int frame = 1; frame <= defaultCalibrationFrames; ++frame) {
        calibrationStep();
        glClear(GL_COLOR_BUFFER_BIT);
        drawCalibrationSquares(places);
        glFinish();
        updateFrameTiming();
    }
    closeWglWindow(gl);
    return particleCount;
}

std::string selfPath()
{
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, sizeof path);
    return path;
}

// Starts a command and answers its exit code and how long it ran.
DWORD runToExit(const std::string& commandLine, double& took)
{
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    std::string line = commandLine;
    const double begin = seconds();
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
        return 0;
    WaitForSingleObject(info.hProcess, INFINITE);
    took = seconds() - begin;
    DWORD code = 0;
    GetExitCodeProcess(info.hProcess, &code);
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    return code;
}

struct SaverRun {
    int count = 0;
    double firstFrameSeconds = 0;
};

// astr.scr /s under this program as its debugger, which receives the line
// the saver hands a debugger at the end of calibration.
SaverRun runSaver(const std::string& saver)
{
    SaverRun run;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    std::string line = "\"" + saver + "\" /s";
    const double begin = seconds();
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, DEBUG_ONLY_THIS_PROCESS, nullptr, nullptr,
                        &startup, &info))
        return run;
    for (bool running = true; running;) {
        DEBUG_EVENT event;
        if (!WaitForDebugEvent(&event, saverTimeoutMs)) {
            TerminateProcess(info.hProcess, 1);
            break;
        }
        DWORD status = DBG_CONTINUE;
        switch (event.dwDebugEventCode) {
        case CREATE_PROCESS_DEBUG_EVENT:
            CloseHandle(event.u.CreateProcessInfo.hFile);
            break;
        case LOAD_DLL_DEBUG_EVENT:
            CloseHandle(event.u.LoadDll.hFile);
            break;
        case EXCEPTION_DEBUG_EVENT:
            if (event.u.Exception.ExceptionRecord.ExceptionCode != EXCEPTION_BREAKPOINT)
                status = DBG_EXCEPTION_NOT_HANDLED;
            break;
        case OUTPUT_DEBUG_STRING_EVENT: {
            const double now = seconds();
            char text[128] = {};
            const OUTPUT_DEBUG_STRING_INFO& out = event.u.DebugString;
            const SIZE_T length = std::min<SIZE_T>(out.nDebugStringLength, sizeof text - 1);
            if (!out.fUnicode && ReadProcessMemory(info.hProcess, out.lpDebugStringData, text, length, nullptr) &&
                std::sscanf(text, "astr: %d particles", &run.count) == 1) {
                run.firstFrameSeconds = now - begin;
                PostMessageA(FindWindowA("Astrelle", "Astrelle"), WM_KEYDOWN, VK_ESCAPE, 1);
            }
            break;
        }
        case EXIT_PROCESS_DEBUG_EVENT:
            running = false;
            break;
        }
        ContinueDebugEvent(event.dwProcessId, event.dwThreadId, status);
    }
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    return run;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc == 2 && std::strcmp(argv[1], "--bare") == 0)
        return runBare();
    if (argc == 2 && std::strcmp(argv[1], "--nothing") == 0)
        return 0;
    int rounds = 5;
    if (argc == 4 && std::strcmp(argv[2], "--rounds") == 0)
        rounds = std::max(1, std::atoi(argv[3]));
    else if (argc != 2) {
        std::fprintf(stderr, "usage: saver_bench ASTR.SCR [--rounds N]\n");
        return 2;
    }

    std::printf("display %d x %d\n", GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    std::printf("round  astr.scr count  bare count  ratio  first frame  Wine start-up\n");
    std::vector<double> saverCounts, bareCounts, firstFrames, startUps;
    for (int round = 1; round <= rounds; ++round) {
        const SaverRun saver = runSaver(argv[1]);
        double took = 0, startUp = 0;
        const int bare = static_cast<int>(runToExit("\"" + selfPath() + "\" --bare", took));
        runToExit("\"" + selfPath() + "\" --nothing", startUp);
        const double ratio = bare > 0 ? static_cast<double>(saver.count) / bare : 0;
        std::printf("%5d  %14d  %10d  %5.3f  %9.2f s  %11.2f s\n", round, saver.count, bare, ratio,
                    saver.firstFrameSeconds, startUp);
        saverCounts.push_back(saver.count);
        bareCounts.push_back(bare);
        firstFrames.push_back(saver.firstFrameSeconds);
        startUps.push_back(startUp);
    }
    // Each calibration lands a few per cent either way of where the machine
    // stands: the medians over the rounds are what compare.
    std::printf("medians: astr.scr %.0f, bare %.0f, ratio %.3f; first frame %.2f s; Wine start-up %.2f s\n",
                median(saverCounts), median(bareCounts), median(saverCounts) / median(bareCounts), median(firstFrames),
                median(startUps));
    return 0;
}
