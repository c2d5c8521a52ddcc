#include "count_cache.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "../core/calibration.h"
#include "../core/particles.h"

namespace {

const char firstLine[] = "astrelle counts 1\n";
constexpr size_t fieldLimit = 200;  // characters of a GL string that are kept

// A GL string as one field of a line: no tab, line break or other control
// character in it, and not overlong.
std::string field(const std::string& text)
{
    std::string kept = text.substr(0, fieldLimit);
    for (char& c : kept)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            c = ' ';
    return kept;
}

bool wholeNumber(const std::string& text, long lowest, long highest, long& value)
{
    if (text.empty() || text.size() > 9 || text.find_first_not_of("0123456789") != std::string::npos)
        return false;
    value = std::strtol(text.c_str(), nullptr, 10);
    return value >= lowest && value <= highest;
}

bool parseEntry(const std::string& line, RememberedCount& entry)
{
    const long lowest[] = {smallestParticleCount, 1, 1, 0};
    const long highest[] = {poolSize, 65535, 65535, 1};
    long numbers[4];
    size_t at = 0;
    for (int i = 0; i < 4; ++i) {
        const size_t blank = line.find(' ', at);
        if (blank == std::string::npos || !wholeNumber(line.substr(at, blank - at), lowest[i], highest[i], numbers[i]))
            return false;
        at = blank + 1;
    }
    const size_t tab = line.find('\t', at);
    if (tab == std::string::npos || line.find('\t', tab + 1) != std::string::npos)
        return false;
    entry.key = {line.substr(at, tab - at), line.substr(tab + 1), static_cast<int32_t>(numbers[1]),
                 static_cast<int32_t>(numbers[2])};
    entry.count = static_cast<int32_t>(numbers[0]);
    entry.precise = numbers[3] == 1;
    return true;
}

// As the file tells keys apart.
bool sameKey(const CountKey& a, const CountKey& b)
{
    return a.width == b.width && a.height == b.height && field(a.renderer) == field(b.renderer) &&
           field(a.version) == field(b.version);
}

// Each folder of the path that is missing, made for the user alone.
bool makeFolders(const std::string& folder)
{
    for (size_t slash = folder.find('/', 1);; slash = folder.find('/', slash + 1)) {
        const std::string part = folder.substr(0, slash);
        if (mkdir(part.c_str(), 0700) != 0 && errno != EEXIST)
            return false;
        if (slash == std::string::npos)
            return true;
    }
}

bool writeAll(int fd, const std::string& text)
{
    for (size_t written = 0; written < text.size();) {
        const ssize_t wrote = write(fd, text.data() + written, text.size() - written);
        if (wrote < 0 && errno != EINTR)
            return false;
        written += wrote > 0 ? static_cast<size_t>(wrote) : 0;
    }
    return true;
}

}  // namespace

std::vector<RememberedCount> parseCounts(const std::string& text)
{
    std::vector<RememberedCount> entries;
    if (text.compare(0, sizeof firstLine - 1, firstLine) != 0)
        return entries;
    // Only whole lines: a line without its line break was cut short.
    for (size_t at = sizeof firstLine - 1, end; (end = text.find('\n', at)) != std::string::npos; at = end + 1) {
        RememberedCount entry;
        if (parseEntry(text.substr(at, end - at), entry) && !findCount(entries, entry.key) &&
            entries.size() < countEntryLimit)
            entries.push_back(entry);
    }
    return entries;
}

std::string formatCounts(const std::vector<RememberedCount>& entries)
{
    std::string text = firstLine;
    for (const RememberedCount& e : entries) {
        const std::string line = std::to_string(e.count) + ' ' + std::to_string(e.key.width) + ' ' +
                                 std::to_string(e.key.height) + (e.precise ? " 1 " : " 0 ") + field(e.key.renderer) +
                                 '\t' + field(e.key.version) + '\n';
        if (text.size() + line.size() > countFileLimit)
            break;  // the oldest go rather than make a file that would not be read
        text += line;
    }
    return text;
}

const RememberedCount* findCount(const std::vector<RememberedCount>& entries, const CountKey& key)
{
    for (const RememberedCount& entry : entries)
        if (sameKey(entry.key, key))
            return &entry;
    return nullptr;
}

void rememberCount(std::vector<RememberedCount>& entries, const RememberedCount& entry)
{
    std::vector<RememberedCount> kept{entry};
    for (const RememberedCount& other : entries)
        if (!sameKey(other.key, entry.key) && kept.size() < countEntryLimit)
            kept.push_back(other);
    entries = kept;
}

std::string countFilePath(const char* xdgCacheHome, const char* home)
{
    if (xdgCacheHome && xdgCacheHome[0] == '/')
        return std::string(xdgCacheHome) + "/astrelle/counts";
    if (home && home[0] == '/')
        return std::string(home) + "/.cache/astrelle/counts";
    return "";
}

std::vector<RememberedCount> readCounts(const std::string& path, std::string& problem)
{
    // Not blocking: a pipe or a device where the file should be must not
    // keep the saver from starting.
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        if (errno != ENOENT && errno != ENOTDIR)  // nothing there: a first start
            problem = std::strerror(errno);
        return {};
    }
    struct stat file;
    std::string text;
    char block[countFileLimit + 1];
    ssize_t got = 0;
    if (fstat(fd, &file) != 0 || !S_ISREG(file.st_mode))
        problem = "not a regular file";
    else
        while (text.size() <= countFileLimit && (got = read(fd, block, sizeof block)) != 0) {
            if (got < 0 && errno != EINTR) {
                problem = std::strerror(errno);
                break;
            }
            text.append(block, got > 0 ? static_cast<size_t>(got) : 0);
        }
    close(fd);
    if (problem.empty() && text.size() > countFileLimit)
        problem = "longer than " + std::to_string(countFileLimit) + " bytes";
    return problem.empty() ? parseCounts(text) : std::vector<RememberedCount>{};
}

bool writeCounts(const std::string& path, const std::vector<RememberedCount>& entries, std::string& problem)
{
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos || slash == 0) {
        problem = "no folder to keep it in";
        return false;
    }
    if (!makeFolders(path.substr(0, slash))) {
        problem = std::strerror(errno);
        return false;
    }
    std::string temporary = path + ".XXXXXX";
    const int fd = mkstemp(temporary.data());
    if (fd < 0) {
        problem = std::strerror(errno);
        return false;
    }
    const bool written = writeAll(fd, formatCounts(entries));
    const int writeError = errno;
    if (close(fd) == 0 && written && rename(temporary.c_str(), path.c_str()) == 0)
        return true;
    problem = std::strerror(written ? errno : writeError);
    unlink(temporary.c_str());
    return false;
}
