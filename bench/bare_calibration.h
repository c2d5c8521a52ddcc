// The bare loop the saver's benches measure it against: the squares of the
// calibration frames (the five glow squares, and every particle of the start
// swarm twice) drawn at the count that the calibration rule (calibrationStep)
// tunes, over the same number of frames, with no simulation. Plain GL: each
// bench brings its own window, context and presentFrame.
#pragma once

#include <cstdint>

struct BareCalibration {
    int32_t count;   // where the rule left the count
    double seconds;  // the calibration frames, from the start of the first to the end of the last
};

// Needs a current GL context on a client area of width x height pixels.
// Starts the saver as its hosts do (startSaver: the high priority, the two
// cleared frames that prime the buffers), then finishes every calibration
// frame with glFinish and presents none.
BareCalibration runBareCalibration(int width, int height);
