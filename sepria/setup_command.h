// The command that starts the platform's INF installer on the package.
#pragma once

#include <cstddef>

constexpr size_t setupCommandSize = 512;

extern char setupCommand[setupCommandSize];

// "rundll32.exe setupapi,InstallHinfSection DefaultInstall 132 .\<name>",
// the name as it stands, unquoted even with blanks in it.
void formatSetupCommand(const char* infFileName);
