#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "../../sepria/inf_reader.h"

namespace {

struct ExtractCase {
    const char* name;
    std::string text;
    const char* key;
    std::string value;
};

std::string extract(const char* key, const std::string& text)
{
    char field[infValueSize];
    std::memset(field, 'x', sizeof field);
    extractInfValue(key, text.c_str(), field);
    EXPECT_NE(std::memchr(field, '\0', sizeof field), nullptr);
    return field;
}

class InfExtract : public ::testing::TestWithParam<ExtractCase> {};

}  // namespace

TEST_P(InfExtract, FindsTheValueTheRulesGive)
{
    const ExtractCase& c = GetParam();
    EXPECT_EQ(extract(c.key, c.text), c.value);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Cases, InfExtract, ::testing::Values(
    ExtractCase{"EmptyText", "", "VENDOR", ""},
    ExtractCase{"EmptyValue", "[Strings]\nVENDOR=\"\"\n", "VENDOR", ""},
    ExtractCase{"PlainValue", "[Strings]\nVENDOR=\"Brightloom\"\n", "VENDOR", "Brightloom"},
    ExtractCase{"CarriageReturnLineFeed", "[Strings]\r\nTITLE=\"Astrelle\"\r\n", "TITLE", "Astrelle"},
    ExtractCase{"FirstLineIsNeverFound", "TITLE=\"Astrelle\"\n", "TITLE", ""},
    ExtractCase{"BlankBeforeEquals", "\nVERSION =\"1.0\"", "VERSION", ""},
    ExtractCase{"BlankAfterEquals", "\nVERSION= \"1.0\"", "VERSION", ""},
    ExtractCase{"Indented", "\n  VERSION=\"1.0\"", "VERSION", ""},
    ExtractCase{"LowerCaseKey", "\nversion=\"1.0\"", "VERSION", ""},
    ExtractCase{"BehindAComment", "\n;SIZE=\"1 MB\"", "SIZE", ""},
    ExtractCase{"AnySection", "[Elsewhere]\nSIZE=\"3 MB\"", "SIZE", "3 MB"},
    ExtractCase{"LaterOccurrenceWins", "\nSIZE=\"1 MB\"\r\nSIZE=\"2 MB\"\r\n", "SIZE", "2 MB"},
    ExtractCase{"ValueSpansLines", "\r\nNOTIFY=\"Line one\r\nLine two\"\r\n", "NOTIFY", "Line one\r\nLine two"},
    ExtractCase{"NoClosingQuoteEndsWithTheText", "\nVENDOR=\"open ended\r\n", "VENDOR", "open ended\r\n"},
    ExtractCase{"TextEndsRightAfterThePattern", "\nVENDOR=\"", "VENDOR", ""},
    ExtractCase{"KeyInsideAnotherValueCounts", "\nNOTIFY=\"x\nVENDOR=\"inner\" y\"", "VENDOR", "inner"},
    ExtractCase{"OccurrenceAtTheValuesFirstByteIsPassedOver", "\nVENDOR=\"\nVENDOR=\"b\"", "VENDOR", "\nVENDOR="},
    ExtractCase{"OccurrenceOneByteIntoTheValueCounts", "\nVENDOR=\"x\nVENDOR=\"b\"", "VENDOR", "b"},
    ExtractCase{"ValueOf127BytesFillsTheField", "\nTITLE=\"" + std::string(127, 'a') + "\"", "TITLE", std::string(127, 'a')},
    ExtractCase{"LongerValueIsCutAt127Bytes", "\nTITLE=\"" + std::string(128, 'b') + "\"", "TITLE", std::string(127, 'b')},
    ExtractCase{"LongUnendedValueIsCutToo", "\nTITLE=\"" + std::string(5000, 'c'), "TITLE", std::string(127, 'c')},
    ExtractCase{"ScanGoesOnPastACutValue", "\nSIZE=\"" + std::string(300, 'd') + "\"\nSIZE=\"5 KB\"", "SIZE", "5 KB"}
), [](const auto& info) { return info.param.name; });
// clang-format on

TEST(InfExtract, EveryKeyIntoItsOwnField)
{
    const char* text =
        "[Version]\r\nSignature=\"$CHICAGO$\"\r\n[Strings]\r\nVENDOR=\"Brightloom\"\r\nTITLE=\"Astrelle\"\r\n"
        "VERSION=\"1.2\"\r\nSIZE=\"1 MB\"\r\nNOTIFY=\"Done.\"\r\n";
    InfDescriptor descriptor{};
    extractInfValues(text, descriptor);
    EXPECT_STREQ(descriptor.vendor, "Brightloom");
    EXPECT_STREQ(descriptor.title, "Astrelle");
    EXPECT_STREQ(descriptor.version, "1.2");
    EXPECT_STREQ(descriptor.size, "1 MB");
    EXPECT_STREQ(descriptor.notify, "Done.");
}
