#include "setup_command.h"

#include <cstdio>

char setupCommand[setupCommandSize];

void formatSetupCommand(const char* infFileName)
{
    std::snprintf(setupCommand, sizeof setupCommand,
                  "rundll32.exe setupapi,InstallHinfSection DefaultInstall 132 .\\%s", infFileName);
}
