#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "../../sepria/inf_reader.h"
#include "../../sepria/setup_command.h"

TEST(SetupCommand, IsTheInstallerCallFollowedByTheBareName)
{
    const std::string fixed = "rundll32.exe setupapi,InstallHinfSection DefaultInstall 132 .\\";
    EXPECT_EQ(fixed.size(), 62u);
    for (const char* name : {"package.inf", "My Package 2.inf", "x"}) {
        formatSetupCommand(name);
        EXPECT_EQ(std::string(setupCommand), fixed + name);
    }
}

TEST(SetupCommand, LongestFileNameFits)
{
    const std::string name(infFileNameSize - 1, 'n');
    formatSetupCommand(name.c_str());
    EXPECT_EQ(std::strlen(setupCommand), 62 + name.size());
    EXPECT_LT(std::strlen(setupCommand), setupCommandSize);
}
