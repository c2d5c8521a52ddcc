// The saver's frames as every host draws them, whatever owns the window and
// the loop. Needs the state of setupGlState and the particle buffer.
#pragma once

// How each frame is drawn: drawFrame, immediate mode as the Windows saver
// must draw, unless the host picks drawFrameFromArrays.
extern void (*drawPicture)();

// Before the first frame: high priority for the calibration, two cleared
// frames presented to prime the buffers, the fixed step, the elapsed time
// from 0.
void startFrameLoop();

// One frame: cleared, drawn (the swarm stepped once), then presented through
// presentFrame once calibration is over, the frame that ends it included.
// The calibration frames before it are finished (glFinish), so that each is
// measured in full, and never shown; with the glFinish setting every frame
// is finished. overlay, when given, draws over a frame before it is presented.
void drawOneFrame(void (*overlay)() = nullptr);

// A frame once calibration is over, measured as a calibration frame is: it
// is drawn and finished, and then presented. Answers the seconds from its
// clearing to the end of its drawing.
float drawMeasuredFrame(void (*overlay)() = nullptr);
