// What the POSIX platform definitions take from the rest of astrelle.
#pragma once

// --verbose: the count the start came by, on standard error.
extern bool announcing;
// How it came by it: "calibrated", "remembered", "given by --count".
extern const char* announcedStart;
