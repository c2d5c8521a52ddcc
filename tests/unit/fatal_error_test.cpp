#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "../../astr/core/fatal_error.h"
#include "fake_platform.h"

namespace {

std::string reportOf(const char* format, const char* argument)
{
    try {
        FatalError(format, argument);
    } catch (const FatalExit& exit) {
        return exit.message;
    }
    ADD_FAILURE() << "FatalError returned";
    return {};
}

}  // namespace

TEST(FatalError, ShowsTheFormattedText)
{
    EXPECT_EQ(reportOf("Unable to %s class.", "register"), "Unable to register class.");
    const char* twoLines = "Bad, bad Windows!\r\nMemorymanagment error.";
    EXPECT_EQ(reportOf("%s", twoLines), twoLines);
}

TEST(FatalError, CutsATextLongerThanItsBufferAndStaysInside)
{
    const std::string longText(5000, 'x');
    const std::string shown = reportOf("%s", longText.c_str());
    EXPECT_EQ(shown.size(), fatalMessageCapacity - 1);
    EXPECT_EQ(shown, longText.substr(0, fatalMessageCapacity - 1));
    EXPECT_EQ(fatalMessage[fatalMessageCapacity - 1], '\0');
}
