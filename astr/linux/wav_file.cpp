#include "wav_file.h"

#include <cstring>

namespace {

constexpr uint16_t pcmFormat = 1;
constexpr uint32_t lowestRate = 1000;
constexpr uint32_t highestRate = 192000;

uint16_t read16(const uint8_t* p)
{
    return static_cast<uint16_t>(p[0] | p[1] << 8);
}

uint32_t read32(const uint8_t* p)
{
    return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
}

}  // namespace

bool parseWav(const uint8_t* bytes, size_t size, WavSound& sound)
{
    if (size < 12 || std::memcmp(bytes, "RIFF", 4) != 0 || std::memcmp(bytes + 8, "WAVE", 4) != 0)
        return false;
    bool haveFormat = false;
    size_t at = 12;
    // Chunk after chunk, each padded to an even length.
    while (size - at >= 8) {
        const uint8_t* chunk = bytes + at;
        const uint32_t length = read32(chunk + 4);
        const size_t body = at + 8;
        if (length > size - body)
            return false;
        if (std::memcmp(chunk, "fmt ", 4) == 0) {
            if (length < 16 || read16(chunk + 8) != pcmFormat)
                return false;
            sound.channels = read16(chunk + 10);
            sound.sampleRate = read32(chunk + 12);
            sound.bitsPerSample = read16(chunk + 22);
            if (sound.channels < 1 || sound.channels > 2 || sound.sampleRate < lowestRate ||
                sound.sampleRate > highestRate || (sound.bitsPerSample != 8 && sound.bitsPerSample != 16))
                return false;
            haveFormat = true;
        } else if (std::memcmp(chunk, "data", 4) == 0) {
            if (!haveFormat)
                return false;
            sound.samples = bytes + body;
            sound.frames = length / (sound.channels * (sound.bitsPerSample / 8u));
            return sound.frames > 0;
        }
        at = body + length + (length & 1u);
        if (at > size)
            return false;
    }
    return false;
}
