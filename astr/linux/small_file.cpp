#include "small_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>

namespace {

// The folder, open and locked, or -1: a writer holds the lock for a moment
// only, so two seconds means something else is wrong.
int lockFolder(const std::string& folder)
{
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    for (int attempt = 0; fd >= 0 && attempt < 200; ++attempt, usleep(10000))
        if (flock(fd, LOCK_EX | LOCK_NB) == 0)
            return fd;
    if (fd >= 0)
        close(fd);
    return -1;
}

}  // namespace

std::string readSmallFile(const std::string& path, size_t limit, std::string& problem)
{
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0 && errno != ENOENT && errno != ENOTDIR)  // nothing there is no problem
        problem = std::strerror(errno);
    struct stat file;
    std::string text(limit + 1, '\0');
    ssize_t got = 0;
    if (fd >= 0 && (fstat(fd, &file) != 0 || !S_ISREG(file.st_mode)))
        problem = "not a regular file";
    else if (fd >= 0 && (got = read(fd, text.data(), text.size())) < 0)
        problem = std::strerror(errno);
    else if (static_cast<size_t>(got) > limit)
        problem = "longer than " + std::to_string(limit) + " bytes";
    if (fd >= 0)
        close(fd);
    text.resize(problem.empty() ? static_cast<size_t>(got) : 0);
    return text;
}

bool updateSmallFile(const std::string& path, size_t limit, const std::function<std::string(const std::string&)>& change,
                     std::string& problem)
{
    const std::string folder = path.substr(0, path.rfind('/')), fresh = path + ".new";
    const bool absolute = !path.empty() && path[0] == '/';
    std::error_code error;
    if (absolute)
        std::filesystem::create_directories(folder, error);
    if (!absolute || error) {
        problem = error ? error.message() : "not an absolute path";
        return false;
    }
    const int lock = lockFolder(folder);
    if (lock < 0) {
        problem = "cannot lock its folder";
        return false;
    }
    std::string ignored;
    const std::string text = change(readSmallFile(path, limit, ignored));
    std::ofstream file(fresh, std::ios::binary | std::ios::trunc);
    file << text;
    file.close();
    const bool done = file.good() && std::rename(fresh.c_str(), path.c_str()) == 0;
    if (!done) {
        problem = std::strerror(errno);
        unlink(fresh.c_str());
    }
    close(lock);
    return done;
}
