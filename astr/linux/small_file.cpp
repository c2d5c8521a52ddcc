#include "small_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <thread>

namespace {

constexpr int lockAttempts = 200;  // 10 ms apart: a writer holds the lock for a moment only

bool makeFolders(const std::string& folder)
{
    for (size_t slash = folder.find('/', 1);; slash = folder.find('/', slash + 1)) {
        if (mkdir(folder.substr(0, slash).c_str(), 0700) != 0 && errno != EEXIST)
            return false;
        if (slash == std::string::npos)
            return true;
    }
}

// The folder, opened and locked; -1 when it cannot be.
int lockFolder(const std::string& folder)
{
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    for (int attempt = 0; fd >= 0 && attempt < lockAttempts; ++attempt) {
        if (flock(fd, LOCK_EX | LOCK_NB) == 0)
            return fd;
        if (errno != EWOULDBLOCK && errno != EINTR)
            break;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    if (fd >= 0)
        close(fd);
    return -1;
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

std::string readSmallFile(const std::string& path, size_t limit, std::string& problem)
{
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        if (errno != ENOENT && errno != ENOTDIR)  // nothing there
            problem = std::strerror(errno);
        return "";
    }
    struct stat file;
    std::string text(limit + 1, '\0');
    size_t got = 0;
    if (fstat(fd, &file) != 0 || !S_ISREG(file.st_mode))
        problem = "not a regular file";
    while (problem.empty() && got <= limit) {
        const ssize_t bytes = read(fd, &text[got], limit + 1 - got);
        if (bytes == 0)
            break;
        if (bytes > 0)
            got += static_cast<size_t>(bytes);
        else if (errno != EINTR)
            problem = std::strerror(errno);
    }
    close(fd);
    if (problem.empty() && got > limit)
        problem = "longer than " + std::to_string(limit) + " bytes";
    text.resize(problem.empty() ? got : 0);
    return text;
}

bool updateSmallFile(const std::string& path, size_t limit, const std::function<std::string(const std::string&)>& change,
                     std::string& problem)
{
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos || slash == 0) {
        problem = "no folder to keep it in";
        return false;
    }
    const std::string folder = path.substr(0, slash);
    if (!makeFolders(folder)) {
        problem = std::strerror(errno);
        return false;
    }
    const int lock = lockFolder(folder);
    if (lock < 0) {
        problem = errno == EWOULDBLOCK ? "its folder stayed locked" : std::strerror(errno);
        return false;
    }
    std::string ignored;
    const std::string text = change(readSmallFile(path, limit, ignored));
    const std::string fresh = path + ".new";
    const int fd = open(fresh.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0600);
    bool done = fd >= 0 && writeAll(fd, text);
    int error = errno;
    if (fd >= 0 && close(fd) != 0 && done)
        done = false, error = errno;
    if (done && rename(fresh.c_str(), path.c_str()) != 0)
        done = false, error = errno;
    if (!done) {
        problem = std::strerror(error);
        unlink(fresh.c_str());
    }
    close(lock);
    return done;
}
