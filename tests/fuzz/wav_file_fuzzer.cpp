// The background sound's file reader on any bytes: it answers, and what it
// finds lies inside the bytes given.
#include <cstdlib>

#include "../../astr/linux/wav_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    WavSound sound{};
    if (parseWav(data, size, sound)) {
        const size_t frameBytes = sound.channels * (sound.bitsPerSample / 8u);
        if (sound.frames == 0 || sound.samples < data ||
            sound.samples + sound.frames * frameBytes > data + size)
            std::abort();
    }
    return 0;
}
