// The saver's frames as every host draws them, whatever owns the window and
// the loop: the buffers primed before the first frame, then one frame at a
// time, presented through the platform's presentFrame once calibration is
// over. Needs the state of setupGlState and the particle buffer.
#pragma once

// Two cleared frames, presented and finished, each measured by the frame
// clock: the frames the host shows before the swarm.
void primeBuffers();

// Before the first frame: high priority for the calibration, the buffers
// primed, the fixed step, and the elapsed time from 0.
void startFrameLoop();

// One frame: cleared, drawn (the swarm stepped once), then presented once
// calibration is over, the frame that ends it included. The calibration
// frames before it are finished (glFinish), so that each is measured in
// full, and never shown; with the glFinish setting every frame is finished.
// overlay, when given, draws over a frame that is presented, before it is.
void drawOneFrame(void (*overlay)() = nullptr);
