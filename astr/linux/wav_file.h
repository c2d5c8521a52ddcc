// The background sound's file: a RIFF WAVE of 8- or 16-bit PCM samples.
// Plain logic over the file's bytes, for whatever file is found there.
#pragma once

#include <cstddef>
#include <cstdint>

struct WavSound {
    uint16_t channels;       // 1 or 2
    uint32_t sampleRate;     // frames a second
    uint16_t bitsPerSample;  // 8 (unsigned) or 16 (signed, little-endian)
    const uint8_t* samples;  // inside the bytes given
    size_t frames;           // whole frames of samples
};

// Finds the format and the samples; answers false for anything that is not
// such a file, or whose chunks run past its end.
bool parseWav(const uint8_t* bytes, size_t size, WavSound& sound);
