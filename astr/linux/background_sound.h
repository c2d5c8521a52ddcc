// The background sound: astr.wav looped through the system's sound library
// on a thread of its own, so that frames never wait for it.
#pragma once

// Starts the loop; without the file or a sound device nothing plays and
// nothing is said.
void startSoundLoop(const char* path);

// Stops the loop and waits for its thread.
void stopSoundLoop();
