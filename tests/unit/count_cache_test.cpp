// The counts astrelle remembers: the file's text read and written, and the
// file itself where something else, or nothing, stands in its place.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "../../astr/x11/count_cache.h"

namespace {

const std::string head = "astrelle counts 1\n";
const std::string llvmpipe = "2503 1920 1080 0 llvmpipe (LLVM 15.0.6, 256 bits)\t4.5 (Compatibility Profile) Mesa\n";

struct TextCase {
    std::string text;
    std::vector<int32_t> counts;  // what is read, in order
};

class CountText : public ::testing::TestWithParam<TextCase> {};

TEST_P(CountText, KeepsOnlyWholeSoundEntriesAndWritesThemBackTheSame)
{
    const std::vector<RememberedCount> entries = parseCounts(GetParam().text);
    std::vector<int32_t> counts;
    for (const RememberedCount& e : entries)
        counts.push_back(e.count);
    EXPECT_EQ(counts, GetParam().counts);
    EXPECT_EQ(formatCounts(parseCounts(formatCounts(entries))), formatCounts(entries));
}

INSTANTIATE_TEST_SUITE_P(
    Files, CountText,
    ::testing::Values(TextCase{"", {}}, TextCase{head, {}}, TextCase{llvmpipe, {}},  // no first line
                      TextCase{head + llvmpipe, {2503}},
                      TextCase{head + llvmpipe.substr(0, llvmpipe.size() - 1), {}},  // cut short
                      TextCase{head + "32768 1 65535 1 r\tv\n2 640 480 0 r\tv\n", {32768, 2}},
                      TextCase{head + "1 640 480 0 r\tv\n32769 640 480 0 r\tv\n-5 640 480 0 r\tv\n", {}},
                      TextCase{head + "500 0 480 0 r\tv\n500 640 480 2 r\tv\n500 640 480 0 r\tv\tx\n", {}},
                      TextCase{head + "500 640 480 0 no tab\n99999999999 640 480 0 r\tv\n500 640x480 0 r\tv\n", {}},
                      TextCase{head + "500 640 480 0 r\tv\n700 640 480 0 r\tv\n", {500}},  // the first of a key
                      TextCase{std::string("astrelle counts 1\n\0\xff\n", 21) + llvmpipe, {2503}}));

TEST(CountCache, RemembersTheNewestFirstOncePerKeyAndAtMostSixteen)
{
    std::vector<RememberedCount> entries;
    for (int32_t width = 1; width <= 20; ++width)
        rememberCount(entries, {{"r\tx\n", "v", width, 480}, 100 + width, false});
    rememberCount(entries, {{"r\tx\n", "v", 20, 480}, 2000, true});
    ASSERT_EQ(entries.size(), countEntryLimit);
    EXPECT_EQ(entries[0].count, 2000);
    EXPECT_EQ(entries[1].count, 119);
    const std::vector<RememberedCount> read = parseCounts(formatCounts(entries));
    ASSERT_EQ(read.size(), countEntryLimit);
    const RememberedCount* found = findCount(read, {"r\tx\n", "v", 20, 480});  // a tab or line break becomes a blank
    ASSERT_NE(found, nullptr);
    EXPECT_TRUE(found->precise);
    EXPECT_EQ(findCount(read, {"r\tx\n", "v", 1, 480}), nullptr);  // the oldest went
    EXPECT_EQ(findCount(read, {"r x ", "w", 20, 480}), nullptr);
    for (RememberedCount& e : entries)  // GL strings at their longest: what fits is kept, newest first
        e.key.renderer = e.key.version = std::string(300, 'x');
    const std::string text = formatCounts(entries);
    EXPECT_LE(text.size(), countFileLimit);
    ASSERT_EQ(parseCounts(text).size(), 9u);  // lines of about 416 bytes
    EXPECT_EQ(parseCounts(text)[0].count, 2000);
}

TEST(CountCache, FileIsUnderTheCacheFolderOrNowhere)
{
    EXPECT_EQ(countFilePath("/c", "/h"), "/c/astrelle/counts");
    EXPECT_EQ(countFilePath("", "/h"), "/h/.cache/astrelle/counts");
    EXPECT_EQ(countFilePath("relative", "/h"), "/h/.cache/astrelle/counts");
    EXPECT_EQ(countFilePath(nullptr, nullptr), "");
    EXPECT_EQ(countFilePath(nullptr, "h"), "");
}

// Whatever stands where the file should be, reading answers at once, and
// nothing but a regular file of ours gives entries.
TEST(CountCache, ReadsOnlyARegularFileOfOursAndWritesOnlyWhereItCan)
{
    char folder[] = "/tmp/astrelle-counts-XXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    const std::string base = folder;
    const std::vector<RememberedCount> one = {{{"r", "v", 640, 480}, 500, false}};
    std::string problem;

    EXPECT_TRUE(writeCounts(base + "/new/astrelle/counts", one, problem)) << problem;
    EXPECT_EQ(readCounts(base + "/new/astrelle/counts", problem).size(), 1u);
    EXPECT_EQ(problem, "");
    struct Case {
        std::string path, problem;
    };
    std::ofstream(base + "/long") << head << std::string(countFileLimit, 'x') << "\n";
    mkfifo((base + "/pipe").c_str(), 0600);
    mkdir((base + "/folder").c_str(), 0700);
    for (const Case& c : {Case{base + "/missing", ""}, Case{base + "/folder", "not a regular file"},
                          Case{base + "/pipe", "not a regular file"}, Case{"/dev/zero", "not a regular file"},
                          Case{base + "/long", "longer than 4096 bytes"}}) {
        problem.clear();
        EXPECT_TRUE(readCounts(c.path, problem).empty()) << c.path;
        EXPECT_EQ(problem, c.problem) << c.path;
    }
    // A file where a folder should be stops even a user who may write anywhere.
    std::ofstream(base + "/file") << "x";
    for (const std::string& path : {base + "/file/astrelle/counts", base + "/folder", std::string("counts")}) {
        problem.clear();
        EXPECT_FALSE(writeCounts(path, one, problem)) << path;
        EXPECT_NE(problem, "") << path;
    }
    EXPECT_EQ(std::system(("rm -rf " + base).c_str()), 0);
}

}  // namespace
