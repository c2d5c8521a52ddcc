// How close astrelle's count comes to what the machine can draw, how long
// it takes to show its first frame on a first start and on a warm one, and
// what it costs while it runs.
//
// On an Xvfb of its own, with black windows of the bench's own of the
// screen's size and a cache folder of its own, emptied each round, each
// round runs one after the other:
// - astrelle --window-id on such a window, a first start: the count it
//   calibrated to (its --verbose line) and the time from its start to its
//   first presented frame, seen from outside as the glow lighting the
//   window's centre (the window stays black until then: the two frames that
//   prime the buffers are cleared ones, and the calibration frames are never
//   shown); then SIGTERM;
// - this program with --bare: the bare calibration loop (bare_calibration.h)
//   in a process of its own on a fresh window, with GLX and the window's
//   visual as astrelle uses them; it answers its count and how long its
//   calibration frames took;
// - this program with --frames N, twice: a frame of N particles (3000, then
//   the whole pool) drawn in immediate mode and from arrays in turn; the
//   medians of the time to finish it, and of the time until all of it was
//   sent, the processor's own share;
// - astrelle again, a warm start: the time to its first frame; then it is
//   left to measure its first shown frames and to remember the count they
//   lead to, which is read from the cache; then, from a second after that,
//   its CPU time and the X server's over a while, as shares of one core.
//
//   build/native/bench/astrelle_bench [--rounds N] [--cpu-seconds S] [--size WxH]
#include <GL/glx.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "../astr/core/frame_clock.h"
#include "../astr/core/particles.h"
#include "../astr/render/frame_arrays.h"
#include "../astr/render/frame_drawing.h"
#include "../astr/render/gl_state.h"
#include "../astr/linux/count_file.h"
#include "../astr/linux/hosts.h"
#include "../astr/linux/small_file.h"
#include "../astr/render/saver.h"
#include "bare_calibration.h"
#include "x11_driver.h"

namespace {

constexpr double firstFrameTimeout = 60.0;  // seconds
constexpr double settleSeconds = 1.0;       // after the first frame, before CPU time is counted
constexpr double rememberTimeout = 60.0;    // for a warm start to remember what its shown frames found
constexpr int32_t fixedCount = 3000;        // particles, for the frame times of both ways of drawing
constexpr int spreadFrames = 100;           // before they are timed
constexpr int timedFrames = 100;            // each way

struct BenchOptions {
    int rounds = 5;
    double cpuSeconds = 10.0;
    int width = 1920;
    int height = 1080;
    std::string program = ASTRELLE_PROGRAM;
    std::string cache;  // the bench's own XDG_CACHE_HOME
};

using xd::now;

// User and system time of a process, all its threads, in seconds.
double cpuSeconds(pid_t pid)
{
    std::ifstream file("/proc/" + std::to_string(pid) + "/stat");
    std::string stat((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    const size_t nameEnd = stat.rfind(')');
    if (nameEnd == std::string::npos)
        return 0;
    // After the name: state (field 3) ... utime (14), stime (15).
    std::istringstream fields(stat.substr(nameEnd + 1));
    std::string field;
    long long ticks = 0;
    for (int number = 3; number <= 15 && fields >> field; ++number)
        if (number >= 14)
            ticks += std::atoll(field.c_str());
    return static_cast<double>(ticks) / static_cast<double>(sysconf(_SC_CLK_TCK));
}

std::string loadAverage()
{
    std::ifstream file("/proc/loadavg");
    std::string one, five, fifteen;
    file >> one >> five >> fifteen;
    return one + " " + five + " " + fifteen;
}

std::string hex(unsigned long id)
{
    char text[32];
    std::snprintf(text, sizeof text, "0x%lx", id);
    return text;
}

Window blackWindow(int width, int height)
{
    Display* display = xd::connection();
    const int screen = DefaultScreen(display);
    const Window window = XCreateSimpleWindow(display, RootWindow(display, screen), 0, 0, width, height, 0,
                                              BlackPixel(display, screen), BlackPixel(display, screen));
    XMapWindow(display, window);
    XSync(display, False);
    return window;
}

// Whether anything but black shows around the window's centre, where the
// glow stands in the first frame after calibration.
bool centreLit(Window window, int width, int height)
{
    constexpr int side = 8;
    XImage* image =
        XGetImage(xd::connection(), window, width / 2 - side / 2, height / 2 - side / 2, side, side, AllPlanes, ZPixmap);
    if (!image)
        return false;
    bool lit = false;
    for (int y = 0; y < side && !lit; ++y)
        for (int x = 0; x < side && !lit; ++x)
            lit = (XGetPixel(image, x, y) & 0xFFFFFF) != 0;
    XDestroyImage(image);
    return lit;
}

struct ProgramRun {
    int count = 0;
    double firstFrameSeconds = 0;
    double programShare = 0;  // of one core
    double serverShare = 0;
    int remembered = 0;       // what a warm start's shown frames led to
};

// When the cache's file was last written; 0 when there is none.
long long writtenAt(const std::string& path)
{
    struct stat file;
    return stat(path.c_str(), &file) == 0 ? file.st_mtim.tv_sec * 1000000000LL + file.st_mtim.tv_nsec : 0;
}

// One start of astrelle at its default delay; a warm one is measured while it
// runs and left to remember the count its shown frames lead to.
ProgramRun runProgram(const BenchOptions& options, bool warm)
{
    ProgramRun run;
    const std::string counts = countFilePath(options.cache.c_str(), nullptr);
    const long long before = writtenAt(counts);
    const Window window = blackWindow(options.width, options.height);
    const double begin = now();
    xd::Program program = xd::start(options.program, {"--window-id", hex(window), "--verbose"},
                                    {"XDG_CACHE_HOME=" + options.cache});
    xd::waitUntil([&] { return centreLit(window, options.width, options.height) || !xd::running(program); },
                  firstFrameTimeout, 0.005);
    run.firstFrameSeconds = now() - begin;
    xd::waitUntil([&] { return std::sscanf(xd::errors(program).c_str(), "astrelle: %d", &run.count) == 1; }, 1.0, 0.01);

    if (warm && xd::waitUntil([&] { return writtenAt(counts) != before; }, rememberTimeout, 0.1)) {
        std::string problem;
        std::vector<RememberedCount> entries;
        parseCounts(readSmallFile(counts, countFileLimit, problem), entries);
        run.remembered = entries.empty() ? 0 : entries.front().count;
    }
    if (warm && options.cpuSeconds > 0 && xd::running(program)) {
        xd::sleepSeconds(settleSeconds);
        const pid_t server = xd::serverProcess();
        const double programBefore = cpuSeconds(program.pid), serverBefore = cpuSeconds(server);
        const double start = now();
        xd::sleepSeconds(options.cpuSeconds);
        const double took = now() - start;
        run.programShare = (cpuSeconds(program.pid) - programBefore) / took;
        run.serverShare = (cpuSeconds(server) - serverBefore) / took;
    }
    kill(program.pid, SIGTERM);
    xd::waitForEnd(program);
    unlink(program.errorsFile.c_str());
    unlink(program.outputFile.c_str());
    XDestroyWindow(xd::connection(), window);
    XSync(xd::connection(), False);
    return run;
}

std::string selfPath()
{
    char path[4096];
    const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
    return length > 0 ? std::string(path, static_cast<size_t>(length)) : "astrelle_bench";
}

// This program once more, in a process of its own on a fresh window of the
// screen's size: the line it answers.
std::string runChild(const BenchOptions& options, const std::string& arguments)
{
    const Window window = blackWindow(options.width, options.height);
    std::string line;
    if (FILE* output = popen((selfPath() + " " + arguments + " " + hex(window)).c_str(), "r")) {
        char text[256];
        if (std::fgets(text, sizeof text, output))
            line = text;
        pclose(output);
    }
    XDestroyWindow(xd::connection(), window);
    XSync(xd::connection(), False);
    return line;
}

Display* bareDisplay;
Window bareWindow;

}  // namespace

void presentBareFrame()
{
    glXSwapBuffers(bareDisplay, bareWindow);
}

namespace {

double median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

// A frame of the fixed count drawn each way in turn, after the swarm has
// spread: each way's median time from clearing to finishing, and to the
// moment all is sent (the processor's own share), in ms.
void timeBothWays(int32_t count)
{
    calibrationFrames = 0;
    particleCount = count;
    runStats.fixedStepSeconds = runStats.stepSeconds = fixedStep;
    std::vector<double> took[2], sent[2];
    for (int frame = -spreadFrames; frame < 2 * timedFrames; ++frame) {
        const double begin = now();
        glClear(GL_COLOR_BUFFER_BIT);
        (frame % 2 == 0 ? drawFrame : drawFrameFromArrays)();
        const double drawn = now();
        glFinish();
        if (frame >= 0) {
            took[frame % 2].push_back(1e3 * (now() - begin));
            sent[frame % 2].push_back(1e3 * (drawn - begin));
        }
        presentBareFrame();
    }
    std::printf("%.3f %.3f %.3f %.3f\n", median(took[0]), median(took[1]), median(sent[0]), median(sent[1]));
}

// --bare: the bare loop, answering its count and how long its frames took;
// --frames N: both ways' frame times at N particles. On the window given,
// with that window's visual, as astrelle draws on a host's.
int childMain(const char* mode, int32_t count, const char* windowText)
{
    presentHostFrame = presentBareFrame;
    bareDisplay = XOpenDisplay(nullptr);
    bareWindow = std::strtoul(windowText, nullptr, 0);
    XWindowAttributes attributes;
    if (!bareDisplay || !XGetWindowAttributes(bareDisplay, bareWindow, &attributes))
        return 1;
    XVisualInfo wanted{};
    wanted.visualid = XVisualIDFromVisual(attributes.visual);
    int found = 0;
    XVisualInfo* visual = XGetVisualInfo(bareDisplay, VisualIDMask, &wanted, &found);
    const GLXContext context = visual ? glXCreateContext(bareDisplay, visual, nullptr, True) : nullptr;
    if (!context || !glXMakeCurrent(bareDisplay, bareWindow, context))
        return 1;
    if (std::strcmp(mode, "--bare") == 0) {
        const BareCalibration bare = runBareCalibration(attributes.width, attributes.height);
        std::printf("%d %.4f\n", static_cast<int>(bare.count), bare.seconds);
    } else {
        startSaver(attributes.width, attributes.height, SaverHooks{});
        timeBothWays(count);
    }
    glXMakeCurrent(bareDisplay, None, nullptr);
    glXDestroyContext(bareDisplay, context);
    XCloseDisplay(bareDisplay);
    return 0;
}

std::string spread(const std::vector<double>& values, const char* format)
{
    char text[96];
    const auto [low, high] = std::minmax_element(values.begin(), values.end());
    std::snprintf(text, sizeof text, format, median(values), *low, *high);
    return text;
}

bool parseArguments(int argc, char** argv, BenchOptions& options)
{
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string name = argv[i];
        const char* value = argv[i + 1];
        if (name == "--rounds")
            options.rounds = std::atoi(value);
        else if (name == "--cpu-seconds")
            options.cpuSeconds = std::atof(value);
        else if (name == "--size") {
            if (std::sscanf(value, "%dx%d", &options.width, &options.height) != 2)
                return false;
        } else if (name == "--program")
            options.program = value;
        else
            return false;
    }
    return argc % 2 == 1 && options.rounds >= 1 && options.cpuSeconds >= 0 && options.width >= 64 &&
           options.height >= 64 && options.width <= 8192 && options.height <= 8192;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && std::strcmp(argv[1], "--bare") == 0)
        return childMain(argv[1], 0, argv[2]);
    if (argc == 4 && std::strcmp(argv[1], "--frames") == 0)
        return childMain(argv[1], std::atoi(argv[2]), argv[3]);
    BenchOptions options;
    if (!parseArguments(argc, argv, options)) {
        std::fprintf(stderr,
                     "usage: astrelle_bench [--rounds N] [--cpu-seconds S] [--size WxH] [--program PATH]\n");
        return 2;
    }
    if (!xd::startServer(options.width, options.height)) {
        std::fprintf(stderr, "astrelle_bench: no Xvfb\n");
        return 1;
    }
    char cache[] = "/tmp/astrelle-bench-XXXXXX";
    if (!mkdtemp(cache))
        return 1;
    options.cache = cache;

    std::printf("Xvfb %d x %d, %ld cores, load average %s\n", options.width, options.height,
                sysconf(_SC_NPROCESSORS_ONLN), loadAverage().c_str());
    std::printf("       first start       bare loop         warm start                      frame of %d, ms   CPU at the delay\n"
                "round  count  1st frame  count  frames  ratio  1st frame  remembers  ratio  immediate  arrays"
                "   astrelle  X\n", fixedCount);
    std::map<std::string, std::vector<double>> figures;
    for (int round = 1; round <= options.rounds; ++round) {
        std::filesystem::remove_all(options.cache + "/astrelle");
        const ProgramRun first = runProgram(options, false);
        BareCalibration bare{0, 0};
        std::sscanf(runChild(options, "--bare").c_str(), "%d %lf", &bare.count, &bare.seconds);
        double immediate = 0, arrays = 0, immediateSent = 0, arraysSent = 0, poolSent[2] = {};
        std::sscanf(runChild(options, "--frames " + std::to_string(fixedCount)).c_str(), "%lf %lf %lf %lf", &immediate,
                    &arrays, &immediateSent, &arraysSent);
        std::sscanf(runChild(options, "--frames " + std::to_string(poolSize)).c_str(), "%*f %*f %lf %lf", &poolSent[0],
                    &poolSent[1]);
        const ProgramRun warm = runProgram(options, true);
        const double ratio = bare.count > 0 ? static_cast<double>(first.count) / bare.count : 0;
        const double kept = first.count > 0 ? static_cast<double>(warm.remembered) / first.count : 0;
        std::printf("%5d  %5d  %7.3f s  %5d  %4.2f s  %5.2f  %7.3f s  %9d  %5.2f  %9.2f  %6.2f  %8.0f%%  %2.0f%%\n", round,
                    first.count, first.firstFrameSeconds, static_cast<int>(bare.count), bare.seconds, ratio,
                    warm.firstFrameSeconds, warm.remembered, kept, immediate, arrays, 100 * warm.programShare,
                    100 * warm.serverShare);
        std::fflush(stdout);
        const std::pair<const char*, double> row[] = {
            {"count", first.count},      {"first frame", first.firstFrameSeconds}, {"bare count", bare.count},
            {"bare frames", bare.seconds}, {"ratio", ratio},                     {"warm frame", warm.firstFrameSeconds},
            {"remembers", warm.remembered}, {"kept", kept},                       {"immediate", immediate},
            {"arrays", arrays},            {"immediate sent", immediateSent}, {"arrays sent", arraysSent},
            {"pool immediate sent", poolSent[0]}, {"pool arrays sent", poolSent[1]},
            {"astrelle CPU", 100 * warm.programShare},
            {"X CPU", 100 * warm.serverShare}};
        for (const auto& [name, value] : row)
            figures[name].push_back(value);
    }
    std::filesystem::remove_all(options.cache);

    // Each calibration lands a few per cent either way of where the machine
    // stands: the medians over the rounds are what compare.
    std::printf("\nmedians (lowest-highest) over %d rounds, load average now %s\n", options.rounds,
                loadAverage().c_str());
    const char* const whole = "%.0f (%.0f-%.0f)";
    const char* const seconds = "%.3f s (%.3f-%.3f)";
    const char* const fraction = "%.2f (%.2f-%.2f)";
    std::printf("count: astrelle %s, the bare immediate-mode loop %s; ratio in a round %s\n",
                spread(figures["count"], whole).c_str(), spread(figures["bare count"], whole).c_str(),
                spread(figures["ratio"], fraction).c_str());
    std::printf("first frame: first start %s, warm start %s; the bare loop's calibration frames %s\n",
                spread(figures["first frame"], seconds).c_str(), spread(figures["warm frame"], seconds).c_str(),
                spread(figures["bare frames"], seconds).c_str());
    std::printf("the warm start remembers %s: of the first start's count %s\n",
                spread(figures["remembers"], whole).c_str(), spread(figures["kept"], fraction).c_str());
    std::printf("a frame of %d particles: immediate mode %s ms, arrays %s ms; all sent after %s and %s ms\n",
                fixedCount, spread(figures["immediate"], fraction).c_str(), spread(figures["arrays"], fraction).c_str(),
                spread(figures["immediate sent"], fraction).c_str(), spread(figures["arrays sent"], fraction).c_str());
    std::printf("a frame of %d particles, all sent: immediate mode after %s ms, arrays after %s ms\n", poolSize,
                spread(figures["pool immediate sent"], fraction).c_str(),
                spread(figures["pool arrays sent"], fraction).c_str());
    if (options.cpuSeconds > 0)
        std::printf("CPU of one core at the default delay: astrelle %s %%, X server %s %%\n",
                    spread(figures["astrelle CPU"], whole).c_str(), spread(figures["X CPU"], whole).c_str());
    return 0;
}
