// The counts astrelle remembers: the file's text read and written, and the
// small-file I/O under it, where something else, or nothing, or another
// writer stands in its way.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "../../astr/linux/count_file.h"
#include "../../astr/linux/small_file.h"

namespace {

const std::string head = "astrelle counts 2\n";
const std::string llvmpipe = "2503 1920 1080 llvmpipe (LLVM 15.0.6, 256 bits)\t4.5 (Compatibility Profile) Mesa\n";

struct TextCase {
    std::string text;
    bool whole;                   // all of it a file of counts
    std::vector<int32_t> counts;  // what is read, in order
};

class CountText : public ::testing::TestWithParam<TextCase> {};

TEST_P(CountText, KeepsOnlySoundEntriesAndSaysWhetherAllWere)
{
    std::vector<RememberedCount> entries;
    EXPECT_EQ(parseCounts(GetParam().text, entries), GetParam().whole);
    std::vector<int32_t> counts;
    for (const RememberedCount& e : entries)
        counts.push_back(e.count);
    EXPECT_EQ(counts, GetParam().counts);
}

INSTANTIATE_TEST_SUITE_P(
    Files, CountText,
    ::testing::Values(TextCase{"", true, {}}, TextCase{head, true, {}}, TextCase{head + llvmpipe, true, {2503}},
                      // The first version's file, whose lines held a field more, reads as none.
                      TextCase{"astrelle counts 1\n2503 1920 1080 0 r\tv\n", true, {}},
                      TextCase{llvmpipe, false, {}},  // no first line
                      TextCase{head + llvmpipe.substr(0, llvmpipe.size() - 1), false, {}},  // cut short
                      TextCase{head + "32768 1 65535 r\tv\n2 640 480 \t\n", true, {32768, 2}},
                      TextCase{head + "1 640 480 r\tv\n32769 640 480 r\tv\n-5 640 480 r\tv\n", false, {}},
                      TextCase{head + "500 0 480 r\tv\n500 640 480 r\tv\tx\n500 640 480 no tab\n", false, {}},
                      TextCase{head + "99999999999 640 480 r\tv\n500 640x480 r\tv\n+500 640 480 r\tv\n", false, {}},
                      TextCase{head + "500 640 480 r\tv\n700 640 480 r\tv\n", true, {500}},  // the first of a key
                      TextCase{head + std::string("\0\xff\n", 3) + llvmpipe, false, {2503}}));

TEST(CountFile, WritesTheNewestFirstOncePerKeyWithinItsBound)
{
    std::vector<RememberedCount> entries;
    for (int32_t width = 1; width <= 3; ++width)
        entries.push_back({{"r", "v", width, 480}, 100 + width});
    entries.push_back({{"r\tx", "v", 4, 480}, 104});  // a tab in a GL string: not a line of the file
    std::vector<RememberedCount> read;
    ASSERT_TRUE(parseCounts(formatCounts({{"r", "v", 2, 480}, 2000}, entries), read));
    ASSERT_EQ(read.size(), 3u);
    EXPECT_EQ(std::vector<int32_t>({read[0].count, read[1].count, read[2].count}),
              std::vector<int32_t>({2000, 101, 103}));
    ASSERT_NE(findCount(read, {"r", "v", 2, 480}), nullptr);
    EXPECT_EQ(findCount(read, {"r", "v", 2, 481}), nullptr);
    EXPECT_EQ(findCount(read, {"r", "w", 2, 480}), nullptr);

    for (RememberedCount& e : entries)  // GL strings at their longest: the oldest go
        e.key.renderer = e.key.version = std::string(1500, 'x');
    const std::string text = formatCounts({{"r", "v", 9, 9}, 5}, entries);
    EXPECT_LE(text.size(), countFileLimit);
    ASSERT_TRUE(parseCounts(text, read));
    EXPECT_EQ(read.size(), 2u);
}

TEST(CountFile, IsUnderTheCacheFolderOrNowhere)
{
    EXPECT_EQ(countFilePath("/c", "/h"), "/c/astrelle/counts");
    EXPECT_EQ(countFilePath("", "/h"), "/h/.cache/astrelle/counts");
    EXPECT_EQ(countFilePath("relative", "/h"), "/h/.cache/astrelle/counts");
    EXPECT_EQ(countFilePath(nullptr, nullptr), "");
    EXPECT_EQ(countFilePath(nullptr, "h"), "");
}

class SmallFile : public ::testing::Test {
protected:
    void SetUp() override
    {
        char folder[] = "/tmp/astrelle-small-XXXXXX";
        ASSERT_NE(mkdtemp(folder), nullptr);
        base = folder;
    }
    void TearDown() override { EXPECT_EQ(std::system(("rm -rf " + base).c_str()), 0); }

    static std::string appending(const std::string& text) { return text + "x\n"; }
    std::string base;
};

// Whatever stands where the file should be, reading answers at once, and
// only a regular file within the bound gives its text.
TEST_F(SmallFile, ReadsOnlyARegularFileWithinItsBoundAndNeverWaits)
{
    std::ofstream(base + "/long") << std::string(4097, 'x');
    std::ofstream(base + "/short") << "text";
    mkfifo((base + "/pipe").c_str(), 0600);
    mkdir((base + "/folder").c_str(), 0700);
    struct Case {
        std::string path, text, problem;
    };
    for (const Case& c : {Case{base + "/missing", "", ""}, Case{base + "/short", "text", ""},
                          Case{base + "/folder", "", "not a regular file"},
                          Case{base + "/pipe", "", "not a regular file"}, Case{"/dev/zero", "", "not a regular file"},
                          Case{base + "/long", "", "longer than 4096 bytes"}}) {
        std::string problem;
        EXPECT_EQ(readSmallFile(c.path, 4096, problem), c.text) << c.path;
        EXPECT_EQ(problem, c.problem) << c.path;
    }
}

// The folders are made on the way, what a killed writer left beside the
// file is written over, and where nothing can be written the reason is given.
TEST_F(SmallFile, ReplacesTheFileWholeOrSaysWhyNot)
{
    const std::string path = base + "/new/folder/counts";
    std::string problem;
    ASSERT_TRUE(updateSmallFile(path, 4096, appending, problem)) << problem;
    std::ofstream(path + ".new") << "left by a writer killed before its rename";
    ASSERT_TRUE(updateSmallFile(path, 4096, appending, problem)) << problem;
    EXPECT_EQ(readSmallFile(path, 4096, problem), "x\nx\n");
    EXPECT_FALSE(std::ifstream(path + ".new").good());

    std::ofstream(base + "/file") << "x";
    for (const std::string& bad : {base + "/file/astrelle/counts", base + "/new", std::string("counts")}) {
        problem.clear();
        EXPECT_FALSE(updateSmallFile(bad, 4096, appending, problem)) << bad;
        EXPECT_NE(problem, "") << bad;
    }
}

// Savers started together on several monitors each merge their change into
// what the others wrote: with the lock, none is lost.
TEST_F(SmallFile, KeepsEveryChangeOfWritersAtOnce)
{
    constexpr int writers = 3, changes = 40;
    const std::string path = base + "/counts";
    std::vector<pid_t> children;
    for (int w = 0; w < writers; ++w)
        if (const pid_t child = fork(); child == 0) {
            std::string problem;
            for (int i = 0; i < changes; ++i)
                if (!updateSmallFile(path, 65536, appending, problem))
                    _exit(1);
            _exit(0);
        } else {
            children.push_back(child);
        }
    for (const pid_t child : children) {
        int status = 0;
        waitpid(child, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    std::string problem;
    const std::string text = readSmallFile(path, 65536, problem);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), writers * changes);
}

}  // namespace
