// A run that covers several screens as one saver process each, as X11 hosts
// run one saver per monitor: each swarm is one record of its own process,
// and calibrates and remembers for its own screen. The first process starts
// and ends the savers as screens come and go, and ends the run, every saver
// first, when one of them ends on input or fails, or on SIGTERM or SIGINT.
#pragma once

#include <cstdint>
#include <functional>

// A saver's exit status when its screen went: only its swarm ends.
constexpr int screenGoneStatus = 3;

// From here on SIGCHLD, SIGTERM and SIGINT are taken by takeSaverEnds;
// answers the descriptor to poll for them.
int watchSavers();

// Starts a saver for the screen, once: the child runs cover(screen,
// withSound, ready), which writes a byte to ready once it draws. Until one
// saver has drawn, each is waited for before the next starts, so that a
// failure to draw at all is said once, not once a screen. A saver ends with
// its first process, however that ends; one of them plays the sound.
void startSaverFor(uint32_t screen, const std::function<void(uint32_t screen, bool withSound, int ready)>& cover);

// Ends the savers of the screens that are gone.
void endSaversOfScreensGone(const std::function<bool(uint32_t screen)>& there);

// Takes what the descriptor told of: ends the run where it ends, else returns.
void takeSaverEnds();
