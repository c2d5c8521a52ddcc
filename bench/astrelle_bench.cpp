// How close astrelle's count comes to what the machine can draw, how long a
// frame of that count takes, how long astrelle takes to show its first frame
// on a first start and on a warm one, and what it costs while it runs.
//
// Each round, on an Xvfb of the bench's own, with a cache folder of its own
// emptied first and a fresh black window of the screen's size for each:
// astrelle's first start; the bare calibration loop (bare_calibration.h); a
// frame drawn in immediate mode and from arrays at 3000 particles, at the
// count the first start calibrated to and at the whole pool; astrelle's warm
// start, from the count the first one remembered. A row for each round,
// then the medians over the rounds with the lowest and highest.
//
//   build/native/bench/astrelle_bench [--rounds N] [--cpu-seconds S] [--size WxH] [--program PATH]
#include <GL/gl.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "../astr/core/frame_clock.h"
#include "../astr/core/particles.h"
#include "../astr/core/platform.h"
#include "../astr/linux/hosts.h"
#include "../astr/render/frame_arrays.h"
#include "../astr/render/frame_drawing.h"
#include "../astr/render/saver.h"
#include "../astr/x11/glx_context.h"
#include "../astr/x11/saver_window.h"
#include "bare_calibration.h"
#include "x11_driver.h"

namespace {

constexpr double firstFrameTimeout = 60.0;  // seconds
constexpr double settleSeconds = 1.0;       // after the first frame: the check of a warm start is over by then
constexpr int32_t fixedCount = 3000;        // particles, for frame times that compare across machines
constexpr int spreadFrames = 100;           // steps, undrawn, for the swarm to spread before frames are timed
constexpr int timedFrames = 100;            // each way

struct BenchOptions {
    int rounds = 5;
    double cpuSeconds = 10.0;
    int width = 1920;
    int height = 1080;
    std::string program = ASTRELLE_PROGRAM;
    std::string cache;  // the bench's own XDG_CACHE_HOME
};

// One start of astrelle.
struct Start {
    int count = 0;               // as --verbose says it; for a warm start, once its check is over
    bool givenUp = false;        // a warm start's remembered count proved far too slow
    double firstFrame = 0;       // seconds from its start
    double cpu = 0, server = 0;  // a warm start's CPU time and the X server's, as shares of one core
};

// A frame drawn in immediate mode [0] and from arrays [1]: medians in ms from
// clearing it to having finished it, and to having sent all of it.
struct FrameTimes {
    double finished[2];
    double sent[2];
};

struct Round {
    Start first, warm;
    BareCalibration bare;
    FrameTimes fixed, calibrated, pool;  // at fixedCount, at the first start's count, at poolSize
};

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.empty() ? 0 : values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

std::string loadAverage()
{
    double load[3] = {};
    getloadavg(load, 3);
    char text[64];
    std::snprintf(text, sizeof text, "%.2f %.2f %.2f", load[0], load[1], load[2]);
    return text;
}

// User and system time of a process, all its threads, in seconds.
double cpuSeconds(pid_t pid)
{
    std::ifstream file("/proc/" + std::to_string(pid) + "/stat");
    const std::string stat((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    // After the name, which may hold anything but ends at the last ')': state
    // (field 3) ... utime (14), stime (15).
    std::istringstream fields(stat.substr(std::min(stat.rfind(')'), stat.size()) + 1));
    std::string field;
    long long ticks = 0;
    for (int number = 3; number <= 15 && fields >> field; ++number)
        if (number >= 14)
            ticks += std::atoll(field.c_str());
    return static_cast<double>(ticks) / static_cast<double>(sysconf(_SC_CLK_TCK));
}

// A window with a black background, which stays black until a frame shows.
Window blackWindow(const BenchOptions& bench)
{
    Display* server = x11driver::connection();
    const int screen = DefaultScreen(server);
    const Window window = XCreateSimpleWindow(server, RootWindow(server, screen), 0, 0, bench.width, bench.height, 0,
                                              BlackPixel(server, screen), BlackPixel(server, screen));
    XMapWindow(server, window);
    XSync(server, False);
    return window;
}

void destroyWindow(Window window)
{
    XDestroyWindow(x11driver::connection(), window);
    XSync(x11driver::connection(), False);
}

// Whether anything but black shows around the window's centre, where the
// glow stands in the first frame after calibration.
bool centreLit(Window window, const BenchOptions& bench)
{
    constexpr int side = 8;
    XImage* image = XGetImage(x11driver::connection(), window, bench.width / 2 - side / 2,
                              bench.height / 2 - side / 2, side, side, AllPlanes, ZPixmap);
    bool lit = false;
    for (int y = 0; image && y < side && !lit; ++y)
        for (int x = 0; x < side && !lit; ++x)
            lit = (XGetPixel(image, x, y) & 0xFFFFFF) != 0;
    if (image)
        XDestroyImage(image);
    return lit;
}

// The count as --verbose says it: "N particles in W x H (how)" once the
// frames show, and for a remembered count that its check gave up, later,
// "N particles remembered: M proved far too slow".
void readCount(const std::string& said, Start& start)
{
    std::istringstream lines(said);
    std::string line;
    int count = 0, slow = 0;
    while (std::getline(lines, line))
        if (std::sscanf(line.c_str(), "astrelle: %d particles remembered: %d", &count, &slow) == 2) {
            start.count = count;
            start.givenUp = true;
        } else if (start.count == 0 && std::sscanf(line.c_str(), "astrelle: %d particles in", &count) == 1) {
            start.count = count;
        }
}

// One start of astrelle at its default delay on a window of the bench's:
// its time to the first frame and its count. It is ended with SIGTERM a
// while after that frame, once a warm start's check of its first shown
// frames is over and, for a warm start, its CPU time counted. False, saying
// why, when it showed no frame.
bool startAstrelle(const BenchOptions& bench, bool warm, Start& start)
{
    const Window window = blackWindow(bench);
    char id[32];
    std::snprintf(id, sizeof id, "0x%lx", window);
    const double begin = x11driver::now();
    x11driver::Program program =
        x11driver::start(bench.program, {"--window-id", id, "--verbose"}, {"XDG_CACHE_HOME=" + bench.cache});
    bool lit = false;
    x11driver::waitUntil([&] { return (lit = centreLit(window, bench)) || !x11driver::running(program); },
                         firstFrameTimeout, 0.005);
    start.firstFrame = x11driver::now() - begin;
    if (lit) {
        x11driver::sleepSeconds(settleSeconds);
        if (warm && bench.cpuSeconds > 0) {
            const pid_t server = x11driver::serverProcess();
            const double programBefore = cpuSeconds(program.pid), serverBefore = cpuSeconds(server);
            const double from = x11driver::now();
            x11driver::sleepSeconds(bench.cpuSeconds);
            const double took = x11driver::now() - from;
            start.cpu = (cpuSeconds(program.pid) - programBefore) / took;
            start.server = (cpuSeconds(server) - serverBefore) / took;
        }
    }
    kill(program.pid, SIGTERM);
    x11driver::waitForEnd(program);
    destroyWindow(window);
    const std::string said = x11driver::errors(program);
    readCount(said, start);
    if (lit && start.count > 0)
        return true;
    std::fprintf(stderr, "astrelle_bench: %s showed no frame with its count (it ended, or %.0f s passed); it said:\n%s",
                 bench.program.c_str(), firstFrameTimeout, said.c_str());
    return false;
}

// The simulation's steps of a frame, drawing nothing.
void noSprite(Sprite) {}
void noSquare(float, float, float, float, const float*) {}

// A frame of count particles, as astrelle shows one at a count given it
// (--count), drawn each way in turn once the swarm has spread. Only the
// first frame goes through drawSaverFrame, which ends the calibration at
// the count; the frame clock is left alone after it, so that every step is
// the fixed step, whichever way the frame is drawn.
int32_t givenCount;

FrameTimes timeBothWays(int32_t count)
{
    givenCount = count;
    SaverHooks hooks;
    hooks.chooseCount = [] { return StartCount{CountSource::given, givenCount}; };
    startSaver(windowWidth, windowHeight, hooks);
    drawSaverFrame();
    for (int frame = 0; frame < spreadFrames; ++frame)
        frameSequence<noSprite, noSquare>();
    void (*const ways[2])() = {drawFrame, drawFrameFromArrays};
    std::vector<double> finished[2], sent[2];
    for (int frame = 0; frame < 2 * timedFrames; ++frame) {
        const int way = frame % 2;
        const double begin = x11driver::now();
        glClear(GL_COLOR_BUFFER_BIT);
        ways[way]();
        const double drawn = x11driver::now();
        glFinish();
        finished[way].push_back(1e3 * (x11driver::now() - begin));
        sent[way].push_back(1e3 * (drawn - begin));
        presentFrame();
    }
    return {{median(finished[0]), median(finished[1])}, {median(sent[0]), median(sent[1])}};
}

// What measure() answers, measured in a process of its own so that it meets
// a GL driver that has drawn nothing yet, on a fresh window with the context
// astrelle's X11 host makes and presents on a host's window (openSaverWindow
// takes the window's visual from findGlVisual). The child lets go of the
// bench's connection to the X server for one of its own, and leaves with
// _exit: the exit handlers are the bench's, and end its server.
template <class Measure, class Result>
bool inChild(const BenchOptions& bench, Measure measure, Result& result)
{
    const Window window = blackWindow(bench);
    bool answered = false;
    int answer[2];
    if (pipe(answer) == 0) {
        const pid_t child = fork();
        if (child == 0) {
            close(answer[0]);
            close(ConnectionNumber(x11driver::connection()));
            openSaverWindow({WindowSource::given, window});
            createGlContext();
            presentHostFrame = presentGlxFrame;
            const Result measured = measure();
            _exit(write(answer[1], &measured, sizeof measured) == sizeof measured ? 0 : 1);
        }
        close(answer[1]);
        answered = child > 0 && read(answer[0], &result, sizeof result) == sizeof result;
        close(answer[0]);
        if (child > 0)
            waitpid(child, nullptr, 0);
    }
    destroyWindow(window);
    if (!answered)
        std::fprintf(stderr, "astrelle_bench: a measurement's process ended without its figures\n");
    return answered;
}

bool measureRound(const BenchOptions& bench, Round& round)
{
    std::filesystem::remove_all(bench.cache + "/astrelle");
    return startAstrelle(bench, false, round.first) &&
           inChild(bench, [] { return runBareCalibration(windowWidth, windowHeight); }, round.bare) &&
           inChild(bench, [] { return timeBothWays(fixedCount); }, round.fixed) &&
           inChild(bench, [&] { return timeBothWays(round.first.count); }, round.calibrated) &&
           inChild(bench, [] { return timeBothWays(poolSize); }, round.pool) && startAstrelle(bench, true, round.warm);
}

double ratio(const Round& round)
{
    return static_cast<double>(round.first.count) / std::max(round.bare.count, 1);
}

void printRound(int number, const Round& round)
{
    std::printf("%5d  %5d  %7.3f s  %5d  %4.2f s  %5.2f  %5d  %-7s  %7.3f s"
                "  %9.2f  %6.2f  %9.2f  %6.2f  %8.0f%%  %2.0f%%\n",
                number, round.first.count, round.first.firstFrame, static_cast<int>(round.bare.count),
                round.bare.seconds, ratio(round), round.warm.count, round.warm.givenUp ? "yes" : "no",
                round.warm.firstFrame, round.fixed.finished[0], round.fixed.finished[1], round.calibrated.finished[0],
                round.calibrated.finished[1], 100 * round.warm.cpu, 100 * round.warm.server);
    std::fflush(stdout);
}

// A figure's median over the rounds, with the lowest and highest.
template <class Figure>
std::string spread(const std::vector<Round>& rounds, const char* format, Figure figure)
{
    std::vector<double> values;
    for (const Round& round : rounds)
        values.push_back(figure(round));
    const auto [low, high] = std::minmax_element(values.begin(), values.end());
    char text[96];
    std::snprintf(text, sizeof text, format, median(values), *low, *high);
    return text;
}

// Each calibration lands a few per cent either way of where the machine
// stands: the medians over the rounds are what compare.
void printMedians(const BenchOptions& bench, const std::vector<Round>& rounds)
{
    const char* const whole = "%.0f (%.0f-%.0f)";
    const char* const seconds = "%.3f s (%.3f-%.3f)";
    const char* const fraction = "%.2f (%.2f-%.2f)";
    const auto givenUp = std::count_if(rounds.begin(), rounds.end(), [](const Round& r) { return r.warm.givenUp; });
    std::printf("\nmedians (lowest-highest) over %zu rounds, load average now %s\n", rounds.size(),
                loadAverage().c_str());
    std::printf("count: astrelle %s, the bare immediate-mode loop %s; ratio in a round %s\n",
                spread(rounds, whole, [](const Round& r) { return r.first.count; }).c_str(),
                spread(rounds, whole, [](const Round& r) { return r.bare.count; }).c_str(),
                spread(rounds, fraction, ratio).c_str());
    std::printf("first frame: first start %s, warm start %s; the bare loop's calibration frames %s\n",
                spread(rounds, seconds, [](const Round& r) { return r.first.firstFrame; }).c_str(),
                spread(rounds, seconds, [](const Round& r) { return r.warm.firstFrame; }).c_str(),
                spread(rounds, seconds, [](const Round& r) { return r.bare.seconds; }).c_str());
    std::printf("the warm start's count %s; its check gave the remembered count up in %ld of %zu rounds\n",
                spread(rounds, whole, [](const Round& r) { return r.warm.count; }).c_str(), static_cast<long>(givenUp),
                rounds.size());
    std::printf("%-24s%-24s%-24s%-24s%s\n", "a frame, ms", "finished: immediate", "arrays",
                "all sent: immediate", "arrays");
    const auto frameLine = [&](const std::string& what, FrameTimes Round::*frames) {
        const auto figure = [&](double(FrameTimes::*times)[2], int way) {
            return spread(rounds, fraction, [&](const Round& r) { return ((r.*frames).*times)[way]; });
        };
        std::printf("  %-22s%-24s%-24s%-24s%s\n", what.c_str(), figure(&FrameTimes::finished, 0).c_str(),
                    figure(&FrameTimes::finished, 1).c_str(), figure(&FrameTimes::sent, 0).c_str(),
                    figure(&FrameTimes::sent, 1).c_str());
    };
    frameLine("of " + std::to_string(fixedCount) + " particles", &Round::fixed);
    frameLine("of the count", &Round::calibrated);
    frameLine("of " + std::to_string(poolSize) + " particles", &Round::pool);
    std::printf("(the count is the first start's: its calibration aims at %.0f ms a frame)\n", 1e3 * fixedStep);
    if (bench.cpuSeconds > 0)
        std::printf("CPU of one core at the default delay: astrelle %s %%, X server %s %%\n",
                    spread(rounds, whole, [](const Round& r) { return 100 * r.warm.cpu; }).c_str(),
                    spread(rounds, whole, [](const Round& r) { return 100 * r.warm.server; }).c_str());
}

bool parseArguments(int argc, char** argv, BenchOptions& bench)
{
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string name = argv[i];
        const char* value = argv[i + 1];
        if (name == "--rounds")
            bench.rounds = std::atoi(value);
        else if (name == "--cpu-seconds")
            bench.cpuSeconds = std::atof(value);
        else if (name == "--size") {
            if (std::sscanf(value, "%dx%d", &bench.width, &bench.height) != 2)
                return false;
        } else if (name == "--program")
            bench.program = value;
        else
            return false;
    }
    return argc % 2 == 1 && bench.rounds >= 1 && bench.cpuSeconds >= 0 && bench.width >= 64 && bench.height >= 64 &&
           bench.width <= 8192 && bench.height <= 8192;
}

}  // namespace

int main(int argc, char** argv)
{
    BenchOptions bench;
    if (!parseArguments(argc, argv, bench)) {
        std::fprintf(stderr, "usage: astrelle_bench [--rounds N] [--cpu-seconds S] [--size WxH] [--program PATH]\n");
        return 2;
    }
    if (!x11driver::startServer(bench.width, bench.height)) {
        std::fprintf(stderr, "astrelle_bench: no Xvfb\n");
        return 1;
    }
    char cache[] = "/tmp/astrelle-bench-XXXXXX";
    if (!mkdtemp(cache))
        return 1;
    bench.cache = cache;

    std::printf("Xvfb %d x %d, %ld cores, load average %s\n", bench.width, bench.height, sysconf(_SC_NPROCESSORS_ONLN),
                loadAverage().c_str());
    std::printf("%-7s%-18s%-22s%-27s%-19s%-19s%s\n", "", "first start", "bare loop", "warm start",
                ("frame of " + std::to_string(fixedCount) + ", ms").c_str(), "of the count, ms", "CPU share");
    std::printf("round  count  1st frame  count  frames  ratio  count  gave up  1st frame  "
                "immediate  arrays  immediate  arrays   astrelle    X\n");
    std::vector<Round> rounds;
    for (int number = 1; number <= bench.rounds; ++number) {
        Round round;
        if (!measureRound(bench, round))
            break;
        printRound(number, round);
        rounds.push_back(round);
    }
    std::filesystem::remove_all(bench.cache);
    if (rounds.size() < static_cast<size_t>(bench.rounds))
        return 1;
    printMedians(bench, rounds);
    return 0;
}
