#include "count_file.h"

#include "../core/calibration.h"
#include "../core/particles.h"
#include "../core/whole_number.h"

namespace {

const std::string firstLine = "astrelle counts 2\n", oldFirstLine = "astrelle counts 1\n";

// Three numbers, each ended by a blank, then the GL strings split by the one tab.
bool parseEntry(std::string_view line, RememberedCount& entry)
{
    const int32_t lowest[] = {smallestParticleCount, 1, 1}, highest[] = {poolSize, 65535, 65535};
    int32_t numbers[3];
    for (int i = 0; i < 3; ++i) {
        const size_t blank = line.find(' ');
        if (blank == line.npos || !parseWholeNumber(line.substr(0, blank), lowest[i], highest[i], numbers[i]))
            return false;
        line.remove_prefix(blank + 1);
    }
    const size_t tab = line.find('\t');
    if (tab == line.npos || line.find('\t', tab + 1) != line.npos)
        return false;
    entry = {{std::string(line.substr(0, tab)), std::string(line.substr(tab + 1)), numbers[1], numbers[2]}, numbers[0]};
    return true;
}

}  // namespace

bool parseCounts(const std::string& text, std::vector<RememberedCount>& entries)
{
    entries.clear();
    if (text.empty() || text.compare(0, oldFirstLine.size(), oldFirstLine) == 0)
        return true;  // none, or none that decides anything now
    if (text.compare(0, firstLine.size(), firstLine) != 0)
        return false;
    bool whole = text.back() == '\n';  // a last line without its line break was cut short
    for (size_t at = firstLine.size(), end; (end = text.find('\n', at)) != text.npos; at = end + 1) {
        RememberedCount entry;
        if (!parseEntry(std::string_view(text).substr(at, end - at), entry))
            whole = false;
        else if (!findCount(entries, entry.key))
            entries.push_back(entry);
    }
    return whole;
}

std::string formatCounts(const RememberedCount& newest, const std::vector<RememberedCount>& others)
{
    std::vector<RememberedCount> entries{newest};
    for (const RememberedCount& other : others)
        if (!findCount(entries, other.key))
            entries.push_back(other);
    std::string text = firstLine;
    for (const RememberedCount& e : entries) {
        if ((e.key.renderer + e.key.version).find_first_of("\t\n") != std::string::npos)
            continue;  // a GL string with a tab or a line break cannot be kept
        const std::string line = std::to_string(e.count) + ' ' + std::to_string(e.key.width) + ' ' +
                                 std::to_string(e.key.height) + ' ' + e.key.renderer + '\t' + e.key.version + '\n';
        if (text.size() + line.size() > countFileLimit)
            break;  // the oldest go
        text += line;
    }
    return text;
}

const RememberedCount* findCount(const std::vector<RememberedCount>& entries, const CountKey& key)
{
    for (const RememberedCount& e : entries)
        if (e.key.width == key.width && e.key.height == key.height && e.key.renderer == key.renderer &&
            e.key.version == key.version)
            return &e;
    return nullptr;
}

std::string countFilePath(const char* xdgCacheHome, const char* home)
{
    if (xdgCacheHome && xdgCacheHome[0] == '/')
        return std::string(xdgCacheHome) + "/astrelle/counts";
    return home && home[0] == '/' ? std::string(home) + "/.cache/astrelle/counts" : "";
}
