// The Wayland host: a window of its own, or with --cover the saver's run:
// a process of its own for each output, covering it with a layer surface
// and a swarm sized to it, as X11 hosts run one saver per monitor. The
// swarm is one record per process, so each keeps its own calibration and
// count. The first process follows the outputs as they come and go, and
// ends the run when one of them ends on input, or on SIGTERM or SIGINT.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/signalfd.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <set>

#include "../core/fatal_error.h"
#include "../linux/hosts.h"
#include "../linux/options.h"
#include "wayland_surface.h"

namespace {

constexpr int closedStatus = 3;  // a child's: its surface was closed, and only its swarm ends

std::map<pid_t, uint32_t> children;  // each child's output, by its registry name
std::set<uint32_t> covered;  // outputs that have had a child
sigset_t unblocked;

// In the child: a connection of its own, on which it covers its output,
// telling its parent once GL is there.
[[noreturn]] void coverOutput(uint32_t global, int signals, int ready)
{
    close(signals);
    sigprocmask(SIG_SETMASK, &unblocked, nullptr);
    wl_display_disconnect(waylandDisplay);  // the parent's, which only the parent uses
    if (!connectToCompositor())
        _exit(0);  // the compositor has gone
    for (const WaylandOutput& output : outputs)
        if (output.global == global) {
            makeLayerSurface(output);
            write(ready, "", 1);
            close(ready);
            std::exit(runSaverOnSurface(EndingInput::anything) ? closedStatus : 0);
        }
    _exit(closedStatus);  // the output went before it could be covered
}

// Every saver ends; then this process, with the status or by the signal.
[[noreturn]] void endRun(int status, int bySignal)
{
    for (const auto& [pid, output] : children)
        kill(pid, SIGTERM);
    for (const auto& [pid, output] : children)
        waitpid(pid, nullptr, 0);
    if (bySignal) {
        signal(bySignal, SIG_DFL);  // as hosts expect a saver to end by it
        sigprocmask(SIG_SETMASK, &unblocked, nullptr);
        raise(bySignal);
    }
    std::exit(status);
}

// Until one child has a GL context, each is waited for before the next
// starts: where GL cannot be had, the first says why and the run ends, in
// one line rather than one an output.
void followOutputs(int signals)
{
    static bool glSeen;
    for (const WaylandOutput& output : outputs)
        if (covered.insert(output.global).second) {
            int ready[2];
            const pid_t pid = pipe2(ready, O_CLOEXEC) == 0 ? fork() : -1;
            if (pid < 0)
                FatalError("Unable to start a saver for output %s.", output.name.c_str());
            if (pid == 0)
                coverOutput(output.global, signals, ready[1]);
            close(ready[1]);
            children[pid] = output.global;
            char told;
            const bool endedBeforeGl = !glSeen && read(ready[0], &told, 1) != 1;
            close(ready[0]);
            if (endedBeforeGl)
                return;  // collectChildren ends the run as the child did
            glSeen = true;
        }
    for (const auto& [pid, global] : children)
        if (std::none_of(outputs.begin(), outputs.end(), [&](const WaylandOutput& o) { return o.global == global; }))
            kill(pid, SIGTERM);
}

// A child that ended by its surface's close or a SIGTERM took only its
// swarm with it; one that ended on input, or failed, ends the run.
void collectChildren()
{
    int status = 0;
    for (pid_t pid; (pid = waitpid(-1, &status, WNOHANG)) > 0;) {
        children.erase(pid);
        if ((WIFEXITED(status) && WEXITSTATUS(status) == closedStatus) ||
            (WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM))
            continue;
        endRun(WIFEXITED(status) ? WEXITSTATUS(status) : 1, 0);
    }
}

int coverEveryOutput()
{
    if (!layerShell) {
        if (options.verbose)
            std::fprintf(stderr, "astrelle: no layer shell here: one fullscreen window covers the output given it\n");
        makeWindow(true);
        runSaverOnSurface(EndingInput::anything);
        return 0;
    }
    sigset_t handled;
    sigemptyset(&handled);
    for (const int caught : {SIGCHLD, SIGTERM, SIGINT})
        sigaddset(&handled, caught);
    sigprocmask(SIG_BLOCK, &handled, &unblocked);
    const int signals = signalfd(-1, &handled, SFD_NONBLOCK | SFD_CLOEXEC);
    for (;;) {
        followOutputs(signals);
        pollfd waiting[] = {{wl_display_get_fd(waylandDisplay), POLLIN, 0}, {signals, POLLIN, 0}};
        wl_display_flush(waylandDisplay);
        poll(waiting, 2, -1);
        if (waiting[0].revents)
            dispatchEvents(0);
        signalfd_siginfo caught;
        while (read(signals, &caught, sizeof caught) == sizeof caught)
            if (caught.ssi_signo != SIGCHLD)
                endRun(0, static_cast<int>(caught.ssi_signo));
        collectChildren();
    }
}

}  // namespace

bool waylandAnswers()
{
    const char* named = std::getenv("WAYLAND_DISPLAY");
    return named && *named && connectToCompositor();
}

int runWaylandHost()
{
    if (!waylandDisplay && !connectToCompositor()) {
        const char* name = std::getenv("WAYLAND_DISPLAY");
        FatalError("Unable to connect to the Wayland compositor \"%s\".", name && *name ? name : "wayland-0");
    }
    if (!compositor || !windowManager)
        FatalError("The Wayland compositor offers no xdg_wm_base.");
    if (options.cover)
        return coverEveryOutput();
    makeWindow(false);
    runSaverOnSurface(EndingInput::escapeOrQ);
    return 0;
}
