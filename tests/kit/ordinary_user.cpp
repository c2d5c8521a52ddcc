#include "ordinary_user.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

namespace fs = std::filesystem;

namespace x11driver {

bool ordinaryUser(User& user)
{
    if (getuid() != 0) {
        user = {"", getuid(), getgid()};
        return true;
    }
    const char* const name = "astrelle-test";
    if (!getpwnam(name) && std::system((std::string("useradd -m ") + name).c_str()) != 0)
        return false;
    const passwd* account = getpwnam(name);
    if (account)
        user = {name, account->pw_uid, account->pw_gid};
    return account != nullptr;
}

Program startAs(const User& user, const std::vector<std::string>& environment,
                const std::vector<std::string>& command)
{
    // env applies the entries after runuser has set the user's own HOME;
    // it takes its removals before its settings.
    std::vector<std::string> words, settings;
    for (const std::string& entry : environment) {
        if (!entry.empty() && entry.back() == '=')
            words.insert(words.end(), {"-u", entry.substr(0, entry.size() - 1)});
        else
            settings.push_back(entry);
    }
    words.insert(words.end(), settings.begin(), settings.end());
    words.insert(words.end(), command.begin(), command.end());
    if (user.name.empty())
        return start("/usr/bin/env", words);
    words.insert(words.begin(), {"-u", user.name, "--", "/usr/bin/env"});
    return start("/usr/sbin/runuser", words);
}

namespace {

bool canRun(const User& user, const std::string& program)
{
    Program test = startAs(user, {}, {"test", "-x", program});
    return waitForEnd(test).exitCode == 0;
}

}  // namespace

std::string reachableBy(const User& user, const std::string& program, const std::string& folder)
{
    if (user.name.empty() || canRun(user, program))
        return program;
    const fs::path prefix = fs::path(folder) / "prefix";
    const fs::path copy = prefix / "libexec/xscreensaver" / fs::path(program).filename();
    const fs::path sound = fs::path(program).parent_path() / "../../share/astrelle/astr.wav";
    const fs::path soundCopy = prefix / "share/astrelle/astr.wav";
    std::error_code failed;
    if (!fs::exists(copy)) {
        fs::create_directories(copy.parent_path(), failed);
        fs::copy_file(program, copy, failed);
        if (fs::exists(sound)) {
            fs::create_directories(soundCopy.parent_path(), failed);
            fs::copy_file(sound, soundCopy, failed);
        }
        for (const fs::directory_entry& entry : fs::recursive_directory_iterator(prefix, failed))
            fs::permissions(entry.path(),
                            entry.path() == soundCopy ? fs::perms::others_read
                                                      : fs::perms::others_read | fs::perms::others_exec,
                            fs::perm_options::add, failed);
    }
    return canRun(user, copy) ? copy.string() : "";
}

}  // namespace x11driver
