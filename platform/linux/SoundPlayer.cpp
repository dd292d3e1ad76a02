#include "platform/linux/SoundPlayer.h"
#include "platform/linux/SoundFile.h"

#include <alsa/asoundlib.h>

#include <chrono>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace platform {

namespace {

constexpr unsigned LatencyMicroseconds = 100'000;
constexpr std::int64_t ChunkFrames = 2048;

// ALSA prints its errors to stderr; the program reports nothing.
void ignoreAlsaError(const char*, int, const char*, int, const char*, ...) {}

struct PcmCloser {
    void operator()(snd_pcm_t* pcm) const { snd_pcm_close(pcm); }
};
using Pcm = std::unique_ptr<snd_pcm_t, PcmCloser>;

/** The default device set up for the file's frames, or null. */
Pcm openDefaultDevice(snd_pcm_format_t format, int channels, int rate)
{
    static std::once_flag silenced;
    std::call_once(silenced, [] { snd_lib_error_set_handler(ignoreAlsaError); });
    snd_pcm_t* raw = nullptr;
    // Opened non-blocking so that a busy device fails instead of waiting; writes then block.
    if (snd_pcm_open(&raw, "default", SND_PCM_STREAM_PLAYBACK, SND_PCM_NONBLOCK) < 0)
        return nullptr;
    Pcm pcm(raw);
    if (snd_pcm_nonblock(raw, 0) < 0
        || snd_pcm_set_params(raw, format, SND_PCM_ACCESS_RW_INTERLEAVED, unsigned(channels),
                              unsigned(rate), 1, LatencyMicroseconds) < 0)
        return nullptr;
    return pcm;
}

/** Writes all frames, recovering from underruns; false when the device fails. */
template <typename Sample>
bool writeFrames(snd_pcm_t* pcm, const Sample* samples, std::int64_t count, int channels)
{
    while (count > 0) {
        const snd_pcm_sframes_t written = snd_pcm_writei(pcm, samples, snd_pcm_uframes_t(count));
        if (written < 0) {
            if (snd_pcm_recover(pcm, int(written), 1) < 0)
                return false;
            continue;
        }
        samples += written * channels;
        count -= written;
    }
    return true;
}

/** Streams the whole file to the device; returns the frames played. */
template <typename Sample>
std::int64_t stream(SoundFile& file, snd_pcm_t* pcm)
{
    std::vector<Sample> chunk(std::size_t(ChunkFrames * file.channels()));
    std::int64_t played = 0;
    while (const std::int64_t frames = file.read(chunk.data(), ChunkFrames)) {
        if (!writeFrames(pcm, chunk.data(), frames, file.channels()))
            break;
        played += frames;
    }
    return played;
}

} // namespace

bool waitSoundFile(const std::string& path)
{
    const std::optional<SoundFile> file = SoundFile::open(path);
    if (!file)
        return false;
    std::this_thread::sleep_for(std::chrono::microseconds(file->frames() * 1'000'000 / file->rate()));
    return true;
}

bool playSoundFile(const std::string& path)
{
    std::optional<SoundFile> file = SoundFile::open(path);
    if (!file)
        return false;
    // 8- and 16-bit files go out as they are; wider ones keep their precision as floats.
    const bool asShort = file->fitsInShort();
    const Pcm pcm = openDefaultDevice(asShort ? SND_PCM_FORMAT_S16 : SND_PCM_FORMAT_FLOAT,
                                      file->channels(), file->rate());
    if (!pcm)
        return false;
    const auto start = std::chrono::steady_clock::now();
    const std::int64_t played = asShort ? stream<std::int16_t>(*file, pcm.get())
                                        : stream<float>(*file, pcm.get());
    snd_pcm_drain(pcm.get());
    // Devices that do not pace return at once; the call still lasts as long as the sound.
    std::this_thread::sleep_until(start + std::chrono::microseconds(played * 1'000'000 / file->rate()));
    return played > 0;
}

} // namespace platform
