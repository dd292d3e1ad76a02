#pragma once
// A WAV file opened for decoding with libsndfile, whatever its sample format,
// channel count or rate.

#include <sndfile.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace platform {

class SoundFile {
public:
    /** Opens a WAV file with at least one frame; nullopt for anything else. */
    static std::optional<SoundFile> open(const std::string& path);

    int channels() const { return info_.channels; }
    int rate() const { return info_.samplerate; }
    std::int64_t frames() const { return info_.frames; }
    /** True when 16-bit samples hold the file's samples without loss (8- and 16-bit PCM). */
    bool fitsInShort() const;

    /** Reads up to count interleaved frames; returns the frames read, 0 at the end. */
    std::int64_t read(std::int16_t* frames, std::int64_t count);
    std::int64_t read(float* frames, std::int64_t count);

private:
    struct Closer {
        void operator()(SNDFILE* file) const { sf_close(file); }
    };
    SoundFile(SNDFILE* file, const SF_INFO& info) : file_(file), info_(info) {}

    std::unique_ptr<SNDFILE, Closer> file_;
    SF_INFO info_;
};

} // namespace platform
