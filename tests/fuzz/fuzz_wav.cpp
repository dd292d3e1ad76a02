// Fuzzes the sound player's decoding path: bytes in a file, opened with
// libsndfile and read to the end both as 16-bit and as float samples.
#include "platform/linux/SoundFile.h"

#include <QTemporaryDir>
#include <cstdio>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static QTemporaryDir dir;
    const std::string path = (dir.path() + QStringLiteral("/sound.wav")).toStdString();
    if (std::FILE* file = std::fopen(path.c_str(), "wb")) {
        std::fwrite(data, 1, size, file);
        std::fclose(file);
    }
    for (bool asFloat : {false, true}) {
        auto sound = platform::SoundFile::open(path);
        if (!sound)
            return 0;
        std::vector<std::int16_t> shorts(std::size_t(sound->channels()) * 512);
        std::vector<float> floats(shorts.size());
        // Bounded: a header may claim more frames than the file holds.
        for (int block = 0; block < 256; ++block) {
            const auto got = asFloat ? sound->read(floats.data(), 512) : sound->read(shorts.data(), 512);
            if (got <= 0)
                break;
        }
    }
    return 0;
}
