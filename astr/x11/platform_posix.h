// What the POSIX platform definitions take from the command line.
#pragma once

// --verbose: the count calibration found, on standard error.
extern bool announcing;
