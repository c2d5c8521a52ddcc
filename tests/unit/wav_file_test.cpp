// The background sound's file as found on disk, well made or not.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "../../astr/linux/wav_file.h"

namespace {

using Bytes = std::vector<uint8_t>;

void put32(Bytes& b, size_t at, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        b[at + i] = static_cast<uint8_t>(v >> 8 * i);
}

// RIFF, WAVE, an odd-sized chunk the reader must skip with its pad byte,
// fmt (16-bit stereo at 22050) and data of three frames.
Bytes wellMade()
{
    Bytes b;
    auto text = [&](const char* t) { b.insert(b.end(), t, t + 4); };
    auto u32 = [&](uint32_t v) { b.resize(b.size() + 4); put32(b, b.size() - 4, v); };
    auto u16 = [&](uint16_t v) { b.push_back(v & 0xFF); b.push_back(v >> 8); };
    text("RIFF"); u32(0); text("WAVE");
    text("LIST"); u32(3); b.insert(b.end(), {1, 2, 3, 0});
    text("fmt "); u32(16); u16(1); u16(2); u32(22050); u32(22050 * 4); u16(4); u16(16);
    text("data"); u32(12); b.insert(b.end(), 12, 0x11);
    put32(b, 4, static_cast<uint32_t>(b.size() - 8));
    return b;
}

constexpr size_t fmtAt = 24, dataAt = fmtAt + 24;

struct WavCase {
    const char* name;
    std::function<void(Bytes&)> change;
    bool accepted;
};

class WavFile : public ::testing::TestWithParam<WavCase> {};

TEST_P(WavFile, ReadsOnlyWellMadePcm)
{
    Bytes bytes = wellMade();
    GetParam().change(bytes);
    WavSound sound{};
    ASSERT_EQ(parseWav(bytes.data(), bytes.size(), sound), GetParam().accepted);
    if (!GetParam().accepted)
        return;
    EXPECT_EQ(sound.channels, 2);
    EXPECT_EQ(sound.sampleRate, 22050u);
    EXPECT_EQ(sound.bitsPerSample, 16);
    EXPECT_EQ(sound.frames, 3u);
    EXPECT_EQ(sound.samples, bytes.data() + dataAt + 8);
}

INSTANTIATE_TEST_SUITE_P(
    Files, WavFile,
    ::testing::Values(
        WavCase{"WellMade", [](Bytes&) {}, true},
        WavCase{"TrailingBytesAfterData", [](Bytes& b) { b.push_back(0); }, true},
        WavCase{"NotRiff", [](Bytes& b) { b[0] = 'X'; }, false},
        WavCase{"NotWave", [](Bytes& b) { b[8] = 'X'; }, false},
        WavCase{"Empty", [](Bytes& b) { b.clear(); }, false},
        WavCase{"HeaderOnly", [](Bytes& b) { b.resize(12); }, false},
        WavCase{"DataCutShort", [](Bytes& b) { b.resize(b.size() - 1); }, false},
        WavCase{"ChunkLengthPastTheEnd", [](Bytes& b) { put32(b, 16, 0xFFFFFFF0); }, false},
        WavCase{"DataBeforeFormat", [](Bytes& b) { std::copy_n("data", 4, b.begin() + fmtAt); }, false},
        WavCase{"NotPcm", [](Bytes& b) { b[fmtAt + 8] = 3; }, false},
        WavCase{"ThreeChannels", [](Bytes& b) { b[fmtAt + 10] = 3; }, false},
        WavCase{"RateZero", [](Bytes& b) { put32(b, fmtAt + 12, 0); }, false},
        WavCase{"TwentyFourBits", [](Bytes& b) { b[fmtAt + 22] = 24; }, false},
        WavCase{"NoWholeFrame", [](Bytes& b) { put32(b, dataAt + 4, 3); b.resize(dataAt + 11); }, false}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
