// The particle counts astrelle remembers, one for each GL renderer, GL
// version and window size, newest first, in a file of the user's cache:
// "astrelle counts 2", then a line "COUNT WIDTH HEIGHT RENDERER<tab>VERSION"
// each. A file of version 1, whose lines held a field that decided nothing,
// reads as one without entries.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct CountKey {
    std::string renderer, version;  // GL_RENDERER and GL_VERSION
    int32_t width, height;
};

struct RememberedCount {
    CountKey key;
    int32_t count;  // 2 to 32768
};

// The file's one bound: a longer one is not read, and a write leaves the oldest out to keep within it.
constexpr size_t countFileLimit = 4096;

// The sound entries of a text, the first for each key; false unless all of it is such a file ("" is one).
bool parseCounts(const std::string& text, std::vector<RememberedCount>& entries);
// The text of newest, then of the others for other keys, within the bound; GL strings with a line
// break or a tab in them cannot be kept.
std::string formatCounts(const RememberedCount& newest, const std::vector<RememberedCount>& others);
const RememberedCount* findCount(const std::vector<RememberedCount>& entries, const CountKey& key);

// $XDG_CACHE_HOME/astrelle/counts, else ~/.cache/astrelle/counts; "" when neither names an absolute folder.
std::string countFilePath(const char* xdgCacheHome, const char* home);
