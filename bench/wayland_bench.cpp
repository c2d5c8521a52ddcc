// astrelle under Wayland against itself under X11, on one machine:
// - the count it calibrates to covering a 1024 x 768 output of a headless
//   sway, and in a 1024 x 768 window of an Xvfb, round after round, each
//   start with a cache of its own;
// - the time a warm start on the sway output takes to its first frame,
//   seen as the moment it says its count (said in the frame shown first);
// - the resident memory of the whole run over two outputs (one of 800 x 600
//   added), sampled every 30 s while it runs for a while.
//
//   build/native/bench/wayland_bench [--rounds N] [--minutes M]
#include <signal.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "wayland_driver.h"
#include "x11_driver.h"

namespace {

const std::string astrelle = ASTRELLE_PROGRAM;

struct Start {
    int count = 0;
    double seconds = 0;  // from the start to the line that says the count
};

// Waits for the line "astrelle: N particles in 1024 x 768 (how)", then ends the program.
Start countOf(x11driver::Program program, const char* how)
{
    const double begin = x11driver::now();
    Start start;
    const std::string tail = std::string(" particles in 1024 x 768 (") + how + ")";
    x11driver::waitUntil([&] {
        const std::string said = x11driver::errors(program);
        const size_t at = said.find(tail);
        return at != std::string::npos && std::sscanf(said.c_str() + said.rfind("astrelle: ", at), "astrelle: %d",
                                                      &start.count) == 1;
    }, 120.0, 0.002);
    start.seconds = x11driver::now() - begin;
    kill(program.pid, SIGTERM);
    x11driver::waitForEnd(program, 5.0);
    return start;
}

long residentKiB(const waylanddriver::Compositor& compositor)
{
    long total = 0;
    for (pid_t pid : waylanddriver::running(compositor, "astrelle")) {
        std::ifstream status("/proc/" + std::to_string(pid) + "/status");
        for (std::string line; std::getline(status, line);)
            if (line.rfind("VmRSS:", 0) == 0)
                total += std::atol(line.c_str() + 6);
    }
    return total;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv)
{
    int rounds = 5;
    double minutes = 10;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--rounds") == 0)
            rounds = std::atoi(argv[i + 1]);
        else if (std::strcmp(argv[i], "--minutes") == 0)
            minutes = std::atof(argv[i + 1]);
    }
    if (argc % 2 == 0 || rounds < 1 || minutes < 0) {
        std::fputs("usage: wayland_bench [--rounds N] [--minutes M]\n", stderr);
        return 2;
    }
    waylanddriver::Compositor sway = waylanddriver::startSway({{1024, 768}});
    if (sway.socket.empty() || !x11driver::startServer(1024, 768)) {
        std::fputs("wayland_bench: no sway or no Xvfb\n", stderr);
        return 1;
    }
    const std::string swayCache = sway.folder + "/cache", xCache = sway.folder + "/x-cache";
    std::vector<double> wayland, x11, ratio, warm;
    std::printf("round  sway count  Xvfb count  ratio  warm start's first frame\n");
    for (int round = 1; round <= rounds; ++round) {
        std::filesystem::remove_all(swayCache);
        std::filesystem::remove_all(xCache);
        const std::vector<std::string> cover = {"--cover", "--verbose"}, swayCached = {"XDG_CACHE_HOME=" + swayCache};
        const Start first = countOf(waylanddriver::start(sway, astrelle, cover, swayCached), "calibrated");
        const Start again = countOf(waylanddriver::start(sway, astrelle, cover, swayCached), "remembered");
        const Window window = x11driver::makeWindow(1024, 768);
        char id[32];
        std::snprintf(id, sizeof id, "0x%lx", window);
        const Start onX =
            countOf(x11driver::start(astrelle, {"--window-id", id, "--verbose"}, {"XDG_CACHE_HOME=" + xCache}),
                    "calibrated");
        XDestroyWindow(x11driver::connection(), window);
        wayland.push_back(first.count);
        x11.push_back(onX.count);
        ratio.push_back(onX.count ? static_cast<double>(first.count) / onX.count : 0);
        warm.push_back(again.seconds);
        std::printf("%5d  %10d  %10d  %5.2f  %.3f s\n", round, first.count, onX.count, ratio.back(), again.seconds);
        std::fflush(stdout);
    }
    std::printf("medians: sway %.0f, Xvfb %.0f, ratio %.2f, warm start's first frame %.3f s\n", median(wayland),
                median(x11), median(ratio), median(warm));

    // Its memory with two outputs covered.
    waylanddriver::addOutput(sway, {800, 600});
    x11driver::Program run = waylanddriver::start(sway, astrelle, {"--cover"}, {"XDG_CACHE_HOME=" + swayCache});
    std::printf("resident memory of the run over two outputs, KiB:");
    for (double at = 0; at <= minutes * 60; at += 30) {
        x11driver::sleepSeconds(at == 0 ? 5 : 30);
        std::printf(" %ld", residentKiB(sway));
        std::fflush(stdout);
    }
    std::printf("\n");
    kill(waylanddriver::running(sway, "astrelle").front(), SIGTERM);
    x11driver::waitForEnd(run, 5.0);
    waylanddriver::stop(sway);
    return 0;
}
