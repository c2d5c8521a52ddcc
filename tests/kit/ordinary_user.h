// The ordinary user that hosts run savers as: a desktop never runs them as
// root, XScreenSaver's daemon will not, and sway refuses to start as root.
// Tests run as root take the user astrelle-test (added when missing);
// otherwise they are that user themselves.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

#include "x11_driver.h"

namespace x11driver {

struct User {
    std::string name;  // empty: the test's own user
    uid_t uid = 0;
    gid_t gid = 0;
};

// False when the user was missing and could not be added.
bool ordinaryUser(User& user);

// Starts the command (found on PATH) as that user, with environment entries
// NAME=VALUE added to what it inherits (NAME= removes one).
Program startAs(const User& user, const std::vector<std::string>& environment,
                const std::vector<std::string>& command);

// The program, or where a folder on its way is closed to the user, a copy in
// folder/prefix/libexec/xscreensaver beside its sound as installed (made once
// for each folder); empty when the user cannot run that either.
std::string reachableBy(const User& user, const std::string& program, const std::string& folder);

}  // namespace x11driver
