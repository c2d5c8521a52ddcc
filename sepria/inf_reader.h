// What the launcher takes out of a package's setup information file: five
// quoted values, each written at the very start of a line as KEY="value".
#pragma once

#include <cstddef>

constexpr size_t infValueSize = 128;     // 127 bytes and the terminating zero
constexpr size_t infFileNameSize = 260;  // a long file name and its zero

struct InfDescriptor {
    char infFileName[infFileNameSize];
    char vendor[infValueSize];
    char title[infValueSize];
    char version[infValueSize];
    char size[infValueSize];
    char notify[infValueSize];  // empty: no notification after Setup
};

extern InfDescriptor infDescriptor;

// Finds the line feed, key, equals sign and double quote in the zero-ended
// text and copies what follows up to the next double quote into field. The
// last occurrence wins; no occurrence leaves the field empty. A value that
// does not fit is cut at 127 bytes; one with no closing quote ends with the
// text.
void extractInfValue(const char* key, const char* text, char (&field)[infValueSize]);

// All five values of the descriptor, in the order VENDOR, TITLE, VERSION,
// SIZE, NOTIFY.
void extractInfValues(const char* text, InfDescriptor& descriptor);
