// The host's switches, as the screensaver reads them from its command line.
#include <gtest/gtest.h>

#include <string>

#include "../../astr/core/particles.h"
#include "../../astr/win32/command_line.h"

namespace {

struct LineCase {
    const char* line;
    RunMode mode;
    int32_t window;
    int32_t calibrationFrames;
};

class ParseCommandLine : public ::testing::TestWithParam<LineCase> {};

TEST_P(ParseCommandLine, GivesModeWindowAndCalibration)
{
    const LineCase& c = GetParam();
    std::string line = c.line;
    calibrationFrames = defaultCalibrationFrames;
    int32_t window = -7;
    EXPECT_EQ(parseCommandLine(line.data(), window), c.mode);
    EXPECT_EQ(window, c.window);
    EXPECT_EQ(calibrationFrames, c.calibrationFrames);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, ParseCommandLine,
    ::testing::Values(
        LineCase{"\"C:\\astr.scr\" /S", Saver, 0, 256},
        LineCase{"\"C:\\astr.scr\" /s", Saver, 0, 256},
        LineCase{"\"C:\\astr.scr\" /c:1234", Config, 1234, 256},
        LineCase{"\"C:\\astr.scr\" /c 1234", Config, 1234, 256},
        LineCase{"\"C:\\astr.scr\" -c:1234", Config, 1234, 256},
        LineCase{"\"C:\\astr.scr\" /C:1234", Config, 1234, 256},
        LineCase{"\"C:\\astr.scr\" /c", Config, 0, 256},
        LineCase{"\"C:\\astr.scr\" /cx", Config, 0, 256},
        LineCase{"\"C:\\astr.scr\" /p 4660", Preview, 4660, 256},
        LineCase{"\"C:\\astr.scr\" -p:4660", Preview, 4660, 256},
        LineCase{"\"C:\\astr.scr\" /P   4660", Preview, 4660, 256},
        LineCase{"\"C:\\astr.scr\" /p:4660", Config, 0, 256},
        LineCase{"\"C:\\astr.scr\" /p", Config, 0, 256},
        LineCase{"\"C:\\astr.exe\" /c:5", Saver, 0, 256},
        LineCase{"\"C:\\astr.exe\" -init", Init, 0, 256},
        LineCase{"\"C:\\astr.scr\" -INIT", Init, 0, 256},
        LineCase{"\"C:\\astr.scr\" -prec /p 12", Saver, 0, 2048},
        LineCase{"\"C:\\astr.scr\" /s /c:5", Saver, 0, 256},
        LineCase{"\"C:\\astr.scr\" /c:5 /s", Saver, 0, 256},
        LineCase{"\"C:\\astr.scr\"/s", Config, 0, 256},
        LineCase{"\"C:\\astr.scr\"", Config, 0, 256},
        LineCase{"\"C:\\Tools.EXE\\astr.scr\" /p 12", Saver, 0, 256},  // ".exe" in a folder name
        LineCase{"\"C:\\astr.scr\" /p abc", Preview, 0, 256},
        LineCase{"\"C:\\astr.scr\" /p -12", Preview, -12, 256},
        LineCase{"\"C:\\astr.scr\" /p 4294967297", Preview, 1, 256},    // modulo 2^32
        LineCase{"\"C:\\astr.scr\" /p 4294967295", Preview, -1, 256},   // all ones: a sign-extended handle
        LineCase{"\"C:\\astr.scr\" /p 99999999999999999999", Preview, 1661992959, 256},
        LineCase{"", Config, 0, 256},
        LineCase{" /", Config, 0, 256},
        LineCase{" /c", Config, 0, 256}));

TEST(CommandLine, IsLowerCasedInPlace)
{
    std::string line = "\"C:\\ASTR.SCR\" /C:12";
    int32_t window = 0;
    parseCommandLine(line.data(), window);
    EXPECT_EQ(line, "\"c:\\astr.scr\" /c:12");
}

TEST(FindSwitch, AnswersTheIndexPastTheFirstOccurrence)
{
    EXPECT_EQ(findSwitch(" /s /s", " /s"), 3u);
    EXPECT_EQ(findSwitch("x /s", " /s"), 4u);
    EXPECT_EQ(findSwitch(" /", " /s"), 0u);
    EXPECT_EQ(findSwitch("", " /s"), 0u);
}

}  // namespace
