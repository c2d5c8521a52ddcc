// How close astr.scr's calibration comes to what the machine can draw, and
// how long the saver takes to show its first frame.
//
// Each round starts, one after the other:
// - astr.scr /s, as a debuggee: the count it calibrated to, and the time from
//   its start to its first presented frame, come with the line it hands a
//   debugger in the frame that ends calibration, its first presented one;
//   then it gets Escape;
// - this program with --bare: the bare calibration loop (bare_calibration.h)
//   in a process of its own, in a window of the screen's size; its count is
//   its exit code;
// - this program with --nothing: Wine's own start-up, for scale.
//
//   build/win64/wine-session start
//   build/win64/wine-run build/win64/bench/saver_bench.exe build/win64/astr/win32/astr.scr [--rounds N]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "bare_calibration.h"
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

HDC bareDc;

}  // namespace

void presentFrame()
{
    SwapBuffers(bareDc);
}

namespace {

// The bare loop in a window of the screen's size.
int runBare()
{
    const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    WglWindow gl = openWglWindow("bare squares", width, height);
    if (!gl.context)
        return 0;
    bareDc = gl.dc;
    const BareCalibration bare = runBareCalibration(width, height);
    closeWglWindow(gl);
    return bare.count;
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
