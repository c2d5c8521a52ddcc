#include "saver_children.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/signalfd.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <map>
#include <set>

#include "../core/fatal_error.h"

namespace {

std::map<pid_t, uint32_t> savers;  // each child's screen
std::set<uint32_t> covered;        // screens that have had a saver
bool drawn;                        // a saver has drawn
sigset_t unblocked;
int signals = -1;

// Every saver ends; then this process, with the status or by the signal.
[[noreturn]] void endRun(int status, int bySignal)
{
    for (const auto& [pid, screen] : savers)
        kill(pid, SIGTERM);
    for (const auto& [pid, screen] : savers)
        waitpid(pid, nullptr, 0);
    if (bySignal) {
        signal(bySignal, SIG_DFL);  // as hosts expect a saver to end by it
        sigprocmask(SIG_SETMASK, &unblocked, nullptr);
        raise(bySignal);
    }
    std::exit(status);
}

void takeSignals()
{
    signalfd_siginfo caught;
    while (read(signals, &caught, sizeof caught) == sizeof caught)
        if (caught.ssi_signo != SIGCHLD)
            endRun(0, static_cast<int>(caught.ssi_signo));
}

// Whether the saver said it draws before its end; SIGTERM and SIGINT are taken meanwhile.
bool drawsBeforeItsEnd(int ready)
{
    for (;;) {
        pollfd waiting[] = {{ready, POLLIN, 0}, {signals, POLLIN, 0}};
        if (poll(waiting, 2, -1) < 0 && errno != EINTR)
            return false;
        if (waiting[0].revents)
            break;
        takeSignals();
    }
    char byte;
    return read(ready, &byte, 1) == 1;
}

}  // namespace

int watchSavers()
{
    sigset_t handled;
    sigemptyset(&handled);
    for (const int caught : {SIGCHLD, SIGTERM, SIGINT})
        sigaddset(&handled, caught);
    sigprocmask(SIG_BLOCK, &handled, &unblocked);
    if ((signals = signalfd(-1, &handled, SFD_NONBLOCK | SFD_CLOEXEC)) < 0)
        FatalError("Unable to watch for the savers' ends.");
    return signals;
}

void startSaverFor(uint32_t screen, const std::function<void(uint32_t screen, bool withSound, int ready)>& cover)
{
    if ((!drawn && !savers.empty()) || !covered.insert(screen).second)
        return;  // not before the saver waited for has drawn; once a screen
    int ready[2];
    const pid_t parent = getpid();
    const pid_t pid = pipe2(ready, O_CLOEXEC) == 0 ? fork() : -1;
    if (pid < 0)  // its savers end with it
        FatalError("Unable to start a saver for screen %u.", static_cast<unsigned>(screen));
    if (pid == 0) {
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (getppid() != parent)
            _exit(0);  // the run ended before that could take
        close(signals);
        sigprocmask(SIG_SETMASK, &unblocked, nullptr);
        cover(screen, savers.empty(), ready[1]);
        _exit(screenGoneStatus);
    }
    close(ready[1]);
    savers[pid] = screen;
    drawn = drawn || drawsBeforeItsEnd(ready[0]);
    close(ready[0]);
}

void endSaversOfScreensGone(const std::function<bool(uint32_t screen)>& there)
{
    for (const auto& [pid, screen] : savers)
        if (!there(screen))
            kill(pid, SIGTERM);
}

// A saver that ended by its screen's going or a SIGTERM took only its swarm
// with it; one that ended on input, or failed, ends the run.
void takeSaverEnds()
{
    takeSignals();
    int status = 0;
    for (pid_t pid; (pid = waitpid(-1, &status, WNOHANG)) > 0;) {
        savers.erase(pid);
        if ((WIFEXITED(status) && WEXITSTATUS(status) == screenGoneStatus) ||
            (WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM))
            continue;
        endRun(WIFEXITED(status) ? WEXITSTATUS(status) : 1, 0);
    }
}
