// What the window procedure keeps for the simulation and the drawing: the
// keys held down and the aspect factors of the client area.
#pragma once

#include <cstdint>

constexpr int holdKey = 0x48;  // H: freezes the swarm while held

extern uint8_t keyDown[256];   // 1 while the key of that virtual-key code is down

// Notes a key going down or up. Codes beyond the table change nothing: any
// process can post a key message with any code.
void noteKey(uint64_t virtualKey, bool down);

// Scale factors that give a scene unit the same length on both axes:
// the longer side's factor is shorter / longer, the other 1.
extern float aspectX;
extern float aspectY;

// The aspect rule of a resize to a client area of width by height pixels;
// a height of 0 counts as 1.
void setAspectForClientSize(uint32_t width, uint32_t height);
