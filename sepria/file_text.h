// A whole file as a zero-ended text.
#pragma once

// Reads the file untranslated and puts a zero byte after its last byte.
// Null when the file cannot be opened, its size cannot be learnt, the memory
// cannot be had or fewer bytes arrive than its size. Free the text with free.
char* readFileText(const char* path);
