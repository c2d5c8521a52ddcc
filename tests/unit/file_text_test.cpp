#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "../../sepria/file_text.h"

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

std::string scratchPath(const char* name)
{
    return (::testing::TempDir() + name);
}

void writeFile(const std::string& path, const std::string& bytes)
{
    std::FILE* file = std::fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
}

}  // namespace

TEST(FileText, ReadsEveryByteUntranslatedAndEndsWithZero)
{
    const std::string bytes("[Strings]\r\nVENDOR=\"A\"\r\n\0tail", 28);
    const std::string path = scratchPath("file_text_bytes.inf");
    writeFile(path, bytes);
    char* text = readFileText(path.c_str());
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(std::string(text, bytes.size()), bytes);
    EXPECT_EQ(text[bytes.size()], '\0');
    std::free(text);
    std::remove(path.c_str());
}

TEST(FileText, EmptyFileIsAnEmptyText)
{
    const std::string path = scratchPath("file_text_empty.inf");
    writeFile(path, "");
    char* text = readFileText(path.c_str());
    ASSERT_NE(text, nullptr);
    EXPECT_STREQ(text, "");
    std::free(text);
    std::remove(path.c_str());
}

TEST(FileText, MissingFileGivesNothing)
{
    EXPECT_EQ(readFileText(scratchPath("no_such_file.inf").c_str()), nullptr);
}

#ifndef _WIN32
// A pipe opens but tells no size: that must end like a file that cannot be opened.
TEST(FileText, FileWithoutASizeGivesNothing)
{
    const std::string path = scratchPath("file_text_fifo");
    std::remove(path.c_str());
    ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
    const int writer = open(path.c_str(), O_RDWR);  // so that opening it to read does not wait
    ASSERT_NE(writer, -1);
    EXPECT_EQ(readFileText(path.c_str()), nullptr);
    close(writer);
    std::remove(path.c_str());
}

// A sysfs attribute tells a size of 4096 but gives only its few bytes: a read
// that falls short of the size must end like a file that cannot be opened.
TEST(FileText, ShortReadGivesNothing)
{
    const char* attribute = "/sys/devices/system/cpu/online";
    if (access(attribute, R_OK) != 0)
        GTEST_SKIP() << attribute << " is not there to read";
    EXPECT_EQ(readFileText(attribute), nullptr);
}
#endif
