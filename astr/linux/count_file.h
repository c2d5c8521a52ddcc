// The file of particle counts astrelle remembers, one for each GL renderer,
// GL version and window size, newest first, in the user's cache:
//
//   astrelle counts 2
//   COUNT WIDTH HEIGHT RENDERER<tab>VERSION
//
// Hosts start the saver often (every activation, every cycle), so a count
// found once spares every later start its calibration. A file of the first
// version, whose lines held a field that decided nothing, reads as none.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct CountKey {
    std::string renderer;  // GL_RENDERER and GL_VERSION
    std::string version;
    int32_t width;
    int32_t height;
};

struct RememberedCount {
    CountKey key;
    int32_t count;  // 2 to 32768
};

// The file's one bound: a longer one is not ours, and a write leaves out the oldest entries to stay within it.
constexpr size_t countFileLimit = 4096;

// The entries of a file's text, the first for each key. Answers false when
// the text is not wholly such a file (a line that is not a sound entry, a
// first line that is no version of ours); an empty text is a file with none.
bool parseCounts(const std::string& text, std::vector<RememberedCount>& entries);

// The text with the entry first, in place of any for its key, then the
// others as long as the file stays within its bound.
std::string formatCounts(const RememberedCount& newest, const std::vector<RememberedCount>& others);

// The entry for that key, or null.
const RememberedCount* findCount(const std::vector<RememberedCount>& entries, const CountKey& key);

// $XDG_CACHE_HOME/astrelle/counts, else ~/.cache/astrelle/counts; "" when
// neither variable gives an absolute folder.
std::string countFilePath(const char* xdgCacheHome, const char* home);
