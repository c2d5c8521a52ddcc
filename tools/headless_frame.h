// The simulation's share of one frame of the screensaver, without drawing.
#pragma once

// The frame head, then every live record stepped in order, as the frame
// drawing does it.
void simulateFrame();
