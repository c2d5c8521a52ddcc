// What the command line asked the screensaver to do; fixed for the run.
#pragma once

#include <cstdint>

enum RunMode : int32_t {
    Saver = 0,    // full-screen run
    Config = 1,   // configuration dialog
    Preview = 2,  // drawing inside the host's preview window
    Init = 3,     // write the default settings and end
};

extern RunMode runMode;
