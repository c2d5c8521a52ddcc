// A host may stop the saver and continue it later (SIGSTOP, SIGCONT): the
// pass that held the pause must not count as one long step, nor as a slow
// frame.
#pragma once

// Notes every continue from here on.
void watchForPauses();

// Whether the process was continued since this was last asked.
bool pausedSinceAsked();
