// The particle counts astrelle remembers from one start to the next: one
// for each GL renderer, GL version and window size, in a small text file of
// the user's cache. A line an entry, after a first line that says what the
// file is:
//
//   astrelle counts 1
//   COUNT WIDTH HEIGHT PRECISE RENDERER<tab>VERSION
//
// Hosts start the saver often (every activation, every cycle), so a count
// found once spares every later start its calibration.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct CountKey {
    std::string renderer;  // GL_RENDERER and GL_VERSION, as they would be written
    std::string version;
    int32_t width;
    int32_t height;
};

struct RememberedCount {
    CountKey key;
    int32_t count;  // 2 to 32768
    bool precise;   // found by the precise calibration; what a later start measures replaces it all the same
};

constexpr size_t countFileLimit = 4096;  // bytes: a longer file is not one of ours
constexpr size_t countEntryLimit = 16;   // entries kept, the newest first

// The entries of a file's text; a line that is not a whole, sound entry is
// left out, and a text that does not start with the first line gives none.
std::vector<RememberedCount> parseCounts(const std::string& text);
// The file's text, no longer than countFileLimit: the oldest entries go first.
std::string formatCounts(const std::vector<RememberedCount>& entries);

// The entry for that key, or null.
const RememberedCount* findCount(const std::vector<RememberedCount>& entries, const CountKey& key);

// Puts the entry first, in place of the one for its key, and keeps at most
// countEntryLimit entries.
void rememberCount(std::vector<RememberedCount>& entries, const RememberedCount& entry);

// $XDG_CACHE_HOME/astrelle/counts, else ~/.cache/astrelle/counts; "" when
// neither variable gives an absolute folder.
std::string countFilePath(const char* xdgCacheHome, const char* home);

// The entries of the file at path. None, with the reason in problem, when it
// is missing, not a regular file, too long or unreadable; never waits.
std::vector<RememberedCount> readCounts(const std::string& path, std::string& problem);

// Writes the entries to path, making its folder where needed: as a new file
// in the same folder, renamed over the old one, so that another start reads
// one whole file or the other. False, with the reason, when it cannot. (A
// start ended between the two leaves its new file behind, unread.)
bool writeCounts(const std::string& path, const std::vector<RememberedCount>& entries, std::string& problem);
