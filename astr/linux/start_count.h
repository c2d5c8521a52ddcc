// How a start of astrelle comes by its count: given (--count), remembered
// for this GL renderer, version and window size, or calibrated (a first
// start, --prec, --recalibrate); and the counts kept as the saver finds them.
#pragma once

#include "../render/saver.h"

// The saver's chooseCount: needs the context current and the window's size in the run figures.
StartCount chooseStartCount();
// The saver's countFound.
void keepCount(int32_t count, CountFoundBy by);
// As --verbose says it: "calibrated", "remembered" or "given by --count".
const char* startCountSource();
