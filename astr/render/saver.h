// The saver as its hosts drive it. A host is its window, its GL context, its
// events and its loop; the swarm, its calibration, the picture and what
// input ends a run are behind these calls. A run makes them in this order:
//
//   createSaver        before the window: the particle buffer, the host's hooks
//   setUpSaver         the window's GL context current: setupGlState's answer
//   resizeSaver        the client area's size, before the first frame and at every change
//   beginSaverFrames   the count's choice, then the two frames that prime the buffers
//   drawSaverFrame, endSaverFrame    pass after pass; saverKey and saverPointer between passes
//   stopSaver          the run is over: the background sound stops
//   endSaver           after the host has let go of the context: the buffer freed
//
// startSaver makes the first four calls, for a host whose window and context
// exist before the saver does.
#pragma once

#include <cstdint>

#include "../core/calibration.h"

// How a start comes by its particle count.
enum class CountSource {
    calibration,  // measured on unseen frames
    remembered,   // kept from an earlier run: shown at once, and checked on the first shown frames
    given,        // the user's: shown as it is
};

struct StartCount {
    CountSource source = CountSource::calibration;
    int32_t count = 0;  // for remembered and given: 2 to 32768
};

// What input ends a run, besides whatever the host itself ends it on.
enum class EndingInput {
    none,        // the host's window: the host decides
    escape,      // a preview in the host's window
    escapeOrQ,   // a window of the saver's own
    escapeOrI,   // the full-screen run: also a pointer move once the swarm shows
    anything,    // covering the screen: any key, button or pointer move
};

struct SaverHooks {
    EndingInput endingInput = EndingInput::escape;
    // How each frame is drawn: drawFrame (immediate mode, as the Windows
    // saver must draw) or drawFrameFromArrays.
    void (*frameDrawing)() = nullptr;
    // Asked once, after the GL state is set up and the size known; null: calibrate.
    StartCount (*chooseCount)() = nullptr;
    // Told each count worth keeping for a later start; null: none is kept.
    CountFound countFound = nullptr;
    // Drawn over every shown frame; null: nothing.
    void (*overlay)() = nullptr;
};

// Each of these needs the one before it, as the order above gives them,
// and from setUpSaver on the window's context current.
void createSaver(const SaverHooks& hooks);
int setUpSaver(int32_t width, int32_t height);  // answers 0, as setupGlState does
void resizeSaver(int32_t width, int32_t height);
void beginSaverFrames();

// createSaver, setUpSaver, resizeSaver and beginSaverFrames, with the size
// noted in the run figures as the window's.
void startSaver(int32_t width, int32_t height, const SaverHooks& hooks);

// What a frame was, and so what the host does before the next.
enum class SaverFrame {
    unseen,    // a calibration frame, finished and not shown: the next follows at once
    measured,  // shown, having been measured: the next follows at once, as a measured frame must
    shown,     // shown: the host waits its delay, or its display's pace
};

// One frame, once beginSaverFrames has run: cleared, drawn (the swarm
// stepped once) and, once calibration is over, presented through
// presentFrame with the overlay over it.
// Calibration frames, and measured ones, are finished (glFinish) so that
// each is timed in full; with the glFinish setting every frame is.
SaverFrame drawSaverFrame();

// After each pass, drawn or not: the frame clock measures the pass. paused
// says the process or its display was stopped meanwhile: the pause is no
// step of the swarm, and no measure of the frame.
void endSaverFrame(bool paused = false);

// A key went down or up, by its virtual-key code; answers whether the run goes on.
bool saverKey(uint64_t virtualKey, bool down);
// The pointer moved (as far as the host counts a move) or a button was
// pressed; answers whether the run goes on.
bool saverPointer();

// stopSaver may come at any moment of the run, endSaver after it and no
// frame after either.
void stopSaver();
void endSaver();
