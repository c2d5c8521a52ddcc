// Small files that several processes read and rewrite whole: read with a
// bound and never waiting, and replaced under a lock of their folder, so
// that what another process wrote meanwhile is merged, not lost.
#pragma once

#include <cstddef>
#include <functional>
#include <string>

// The regular file's text, at most limit bytes; "" for a missing one, and "" with the reason in
// problem for anything else. Never waits.
std::string readSmallFile(const std::string& path, size_t limit, std::string& problem);

// Replaces the file at path (an absolute one) with change(its text now), making its folders: under
// a lock of its folder, as a file beside it renamed over it, whose fixed name a killed writer's
// leftover cannot outlast. False, with the reason in problem, where the file stays as it was.
bool updateSmallFile(const std::string& path, size_t limit, const std::function<std::string(const std::string&)>& change,
                     std::string& problem);
