#include "pauses.h"

#include <atomic>
#include <csignal>

namespace {

// Counted by the SIGCONT handler, on whichever thread the signal lands.
std::atomic<unsigned> continues;
static_assert(std::atomic<unsigned>::is_always_lock_free, "the counter is used from a signal handler");
unsigned continuesSeen;

void onContinue(int)
{
    continues.fetch_add(1);
}

}  // namespace

void watchForPauses()
{
    struct sigaction continued{};
    continued.sa_handler = onContinue;
    continued.sa_flags = SA_RESTART;
    sigaction(SIGCONT, &continued, nullptr);
}

bool pausedSinceAsked()
{
    const unsigned now = continues.load();
    const bool paused = now != continuesSeen;
    continuesSeen = now;
    return paused;
}
