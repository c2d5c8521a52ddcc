#include "background_sound.h"

#include <alsa/asoundlib.h>

#include <atomic>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "wav_file.h"

namespace {

constexpr unsigned latencyMicroseconds = 200000;
constexpr snd_pcm_uframes_t framesPerWrite = 1024;

std::vector<uint8_t> fileBytes;
WavSound sound;
snd_pcm_t* device;
std::thread player;
std::atomic<bool> stopping;

// The library reports every missing card and plugin on standard error; a
// saver without sound just stays silent.
void quiet(const char*, int, const char*, int, const char*, ...) {}

bool readFile(const char* path)
{
    std::FILE* file = std::fopen(path, "rb");
    if (!file)
        return false;
    fileBytes.clear();
    uint8_t block[65536];
    size_t got;
    while ((got = std::fread(block, 1, sizeof block, file)) > 0)
        fileBytes.insert(fileBytes.end(), block, block + got);
    std::fclose(file);
    return parseWav(fileBytes.data(), fileBytes.size(), sound);
}

bool openDevice()
{
    snd_lib_error_set_handler(quiet);
    if (snd_pcm_open(&device, "default", SND_PCM_STREAM_PLAYBACK, 0) < 0)
        return false;
    const snd_pcm_format_t format = sound.bitsPerSample == 8 ? SND_PCM_FORMAT_U8 : SND_PCM_FORMAT_S16_LE;
    if (snd_pcm_set_params(device, format, SND_PCM_ACCESS_RW_INTERLEAVED, sound.channels, sound.sampleRate, 1,
                           latencyMicroseconds) < 0) {
        snd_pcm_close(device);
        return false;
    }
    return true;
}

void playLoop()
{
    const size_t frameBytes = sound.channels * (sound.bitsPerSample / 8u);
    size_t frame = 0;
    while (!stopping) {
        const snd_pcm_uframes_t count =
            sound.frames - frame < framesPerWrite ? sound.frames - frame : framesPerWrite;
        snd_pcm_sframes_t written = snd_pcm_writei(device, sound.samples + frame * frameBytes, count);
        if (written < 0)
            written = snd_pcm_recover(device, static_cast<int>(written), 1) < 0 ? -1 : 0;
        if (written < 0)
            break;  // the device has gone: the saver goes on silent
        frame = (frame + static_cast<size_t>(written)) % sound.frames;
    }
    snd_pcm_drop(device);
    snd_pcm_close(device);
}

}  // namespace

// Reading the file and opening the device take their time on the player's
// thread, so that the first frame shown does not wait for them.
void startSoundLoop(const char* path)
{
    if (player.joinable())
        return;
    stopping = false;
    player = std::thread([file = std::string(path)] {
        if (readFile(file.c_str()) && openDevice())
            playLoop();
    });
}

void stopSoundLoop()
{
    if (!player.joinable())
        return;
    stopping = true;
    player.join();
}
