// How a start of astrelle comes by its particle count, and what it keeps for
// the starts after it. A start is given its count (--count), finds one
// remembered for this GL renderer, version and window size (shown at once,
// and checked on the first frames), or calibrates unseen (a first start,
// --prec, --recalibrate). What the saver finds worth keeping goes into the
// count file as it is found. With --verbose, at most one line says what
// became of the file.
#pragma once

#include "../render/saver.h"

// The saver's chooseCount: needs the GL context current and the window's
// size in the run figures.
StartCount chooseStartCount();

// The saver's countFound: the count remembered for this start's key.
void keepCount(int32_t count, CountFoundBy by);

// How this start came by its count, as --verbose says it.
const char* startCountSource();
