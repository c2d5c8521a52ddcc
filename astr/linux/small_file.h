// Small files that several processes read and rewrite whole: read with a
// bound and never waiting, and replaced under a lock of their folder, so
// that a change merged into what another process wrote meanwhile stays.
#pragma once

#include <cstddef>
#include <functional>
#include <string>

// The text of the regular file at path, at most limit bytes. A missing file
// gives "" and no problem; anything else that is not such a file gives ""
// and the reason in problem. Never waits on a pipe or a device.
std::string readSmallFile(const std::string& path, size_t limit, std::string& problem);

// Replaces the file at path with change(what it holds now, "" if it cannot
// be read), making the folders on its way: under an advisory lock of its
// folder, as a file beside it of a fixed name (so that one a killed writer
// left is written over) renamed over it. False, with the reason in problem,
// when it could not be done; the file is then as it was.
bool updateSmallFile(const std::string& path, size_t limit, const std::function<std::string(const std::string&)>& change,
                     std::string& problem);
