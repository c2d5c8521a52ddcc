#include "run_mode.h"

RunMode runMode = Saver;
