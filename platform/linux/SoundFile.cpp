#include "platform/linux/SoundFile.h"

#include <sys/stat.h>

namespace platform {

namespace {

bool isWave(const SF_INFO& info)
{
    const int container = info.format & SF_FORMAT_TYPEMASK;
    return container == SF_FORMAT_WAV || container == SF_FORMAT_WAVEX || container == SF_FORMAT_RF64;
}

bool isRegularFile(const std::string& path)
{
    struct stat status {};
    return ::stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode);
}

} // namespace

std::optional<SoundFile> SoundFile::open(const std::string& path)
{
    // libsndfile would happily open a FIFO or a device and block on it.
    if (!isRegularFile(path))
        return std::nullopt;
    SF_INFO info{};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    if (!file)
        return std::nullopt;
    SoundFile sound(file, info);
    if (!isWave(info) || info.frames <= 0 || info.channels <= 0 || info.samplerate <= 0)
        return std::nullopt;
    return sound;
}

bool SoundFile::fitsInShort() const
{
    const int samples = info_.format & SF_FORMAT_SUBMASK;
    return samples == SF_FORMAT_PCM_U8 || samples == SF_FORMAT_PCM_S8 || samples == SF_FORMAT_PCM_16;
}

std::int64_t SoundFile::read(std::int16_t* frames, std::int64_t count)
{
    return sf_readf_short(file_.get(), frames, count);
}

std::int64_t SoundFile::read(float* frames, std::int64_t count)
{
    return sf_readf_float(file_.get(), frames, count);
}

} // namespace platform
