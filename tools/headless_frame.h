// The simulation's share of one frame of the screensaver, without drawing.
#pragma once

// The frame drawing's own sequence with nothing drawn: the frame head, the
// attractor's projection, then every live record stepped in order.
void simulateFrame();
