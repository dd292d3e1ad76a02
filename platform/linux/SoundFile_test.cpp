// Decoding of WAV files in every common layout, and what counts as unplayable.
#include "platform/linux/SoundFile.h"
#include "platform/linux/SoundPlayer.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cmath>
#include <gtest/gtest.h>
#include <vector>

namespace platform {
namespace {

struct Layout {
    int subformat;
    int channels;
    int rate;
    bool fitsInShort;
    float tolerance; // two steps of the format: rounding, and 127 or 128 as full scale
};

/** A sine per channel, a different pitch on each, inside (-0.8, 0.8). */
std::vector<float> testSignal(int frames, int channels)
{
    std::vector<float> samples(std::size_t(frames * channels));
    for (int i = 0; i < frames; ++i)
        for (int c = 0; c < channels; ++c)
            samples[std::size_t(i * channels + c)] = 0.8f * std::sin(0.05f * float(i) * float(c + 1));
    return samples;
}

class SoundFileTest : public ::testing::Test {
protected:
    QTemporaryDir dir;

    std::string path(const char* name) const { return dir.filePath(name).toStdString(); }

    std::string writeWav(const char* name, const Layout& layout, const std::vector<float>& samples,
                         int container = SF_FORMAT_WAV)
    {
        SF_INFO info{};
        info.channels = layout.channels;
        info.samplerate = layout.rate;
        info.format = container | layout.subformat;
        SNDFILE* file = sf_open(path(name).c_str(), SFM_WRITE, &info);
        EXPECT_NE(file, nullptr) << sf_strerror(nullptr);
        sf_writef_float(file, samples.data(), sf_count_t(samples.size()) / layout.channels);
        sf_close(file);
        return path(name);
    }

    std::string writeBytes(const char* name, const QByteArray& bytes)
    {
        QFile file(dir.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path(name);
    }

    QByteArray readBytes(const std::string& file)
    {
        QFile in(QString::fromStdString(file));
        EXPECT_TRUE(in.open(QIODevice::ReadOnly));
        return in.readAll();
    }

    const Layout mono16{SF_FORMAT_PCM_16, 1, 22050, true, 2.0f / 32768};
};

TEST_F(SoundFileTest, DecodesEveryCommonLayoutToItsSamples)
{
    const Layout layouts[] = {
        {SF_FORMAT_PCM_U8, 1, 11025, true, 2.0f / 128},
        {SF_FORMAT_PCM_U8, 2, 22050, true, 2.0f / 128},
        {SF_FORMAT_PCM_16, 1, 22050, true, 2.0f / 32768},
        {SF_FORMAT_PCM_16, 2, 44100, true, 2.0f / 32768},
        {SF_FORMAT_PCM_24, 1, 44100, false, 2.0f / 8388608},
        {SF_FORMAT_PCM_24, 2, 11025, false, 2.0f / 8388608},
        {SF_FORMAT_FLOAT, 1, 11025, false, 0.0f},
        {SF_FORMAT_FLOAT, 2, 44100, false, 0.0f},
    };
    for (const Layout& layout : layouts) {
        SCOPED_TRACE(testing::Message() << "format " << std::hex << layout.subformat << std::dec
                                        << ", " << layout.channels << " ch, " << layout.rate << " Hz");
        const int frames = 3000; // more than one read of the player
        const std::vector<float> written = testSignal(frames, layout.channels);
        std::optional<SoundFile> sound = SoundFile::open(writeWav("t.wav", layout, written));
        ASSERT_TRUE(sound);
        EXPECT_EQ(sound->channels(), layout.channels);
        EXPECT_EQ(sound->rate(), layout.rate);
        EXPECT_EQ(sound->frames(), frames);
        EXPECT_EQ(sound->fitsInShort(), layout.fitsInShort);

        std::vector<float> read(written.size() + 16);
        ASSERT_EQ(sound->read(read.data(), frames + 4), frames);
        for (std::size_t i = 0; i < written.size(); ++i)
            ASSERT_NEAR(read[i], written[i], layout.tolerance) << "sample " << i;
        EXPECT_EQ(sound->read(read.data(), 4), 0);
    }
}

TEST_F(SoundFileTest, ShortSamplesOfEightBitFilesAreTheBytesScaledExactly)
{
    // 8-bit WAV is unsigned: byte b is the 16-bit sample (b - 128) * 256.
    const Layout u8{SF_FORMAT_PCM_U8, 1, 11025, true, 0};
    std::optional<SoundFile> sound =
        SoundFile::open(writeWav("u8.wav", u8, {-1.0f, 0.0f, 0.5f, -0.25f}));
    ASSERT_TRUE(sound);
    std::int16_t samples[4];
    ASSERT_EQ(sound->read(samples, 4), 4);
    const QByteArray bytes = readBytes(path("u8.wav")).right(4);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(samples[i], (std::uint8_t(bytes[i]) - 128) * 256) << "sample " << i;
}

TEST_F(SoundFileTest, ExtensibleWavIsAWav)
{
    EXPECT_TRUE(SoundFile::open(writeWav("x.wav", mono16, testSignal(100, 1), SF_FORMAT_WAVEX)));
}

TEST_F(SoundFileTest, FileCutInsideTheSamplesPlaysTheSamplesThatAreThere)
{
    const QByteArray whole = readBytes(writeWav("whole.wav", mono16, testSignal(1000, 1)));
    const std::string cut = writeBytes("cut.wav", whole.left(whole.size() - 1000)); // 500 frames gone
    std::optional<SoundFile> sound = SoundFile::open(cut);
    ASSERT_TRUE(sound);
    std::vector<std::int16_t> samples(1000);
    EXPECT_EQ(sound->read(samples.data(), 1000), 500);
}

TEST_F(SoundFileTest, BrokenOrForeignFilesAreUnplayable)
{
    const QByteArray wav = readBytes(writeWav("good.wav", mono16, testSignal(1000, 1)));
    QByteArray garbage;
    for (int i = 0; i < 4096; ++i)
        garbage.append(char((i * 7919) >> 3));
    QByteArray headerOnly = readBytes(writeWav("empty.wav", mono16, {}));
    QDir(dir.path()).mkdir("folder.wav");

    const std::pair<const char*, std::string> cases[] = {
        {"missing", path("missing.wav")},
        {"empty file", writeBytes("zero.wav", {})},
        {"cut inside the header", writeBytes("header.wav", wav.left(30))},
        {"no frames", writeBytes("noframes.wav", headerOnly)},
        {"garbage", writeBytes("garbage.wav", garbage)},
        {"text", writeBytes("text.wav", "RIFF is not enough to make a wave file\n")},
        {"directory", path("folder.wav")},
        {"AIFF, not a WAV", writeWav("aiff.wav", mono16, testSignal(1000, 1), SF_FORMAT_AIFF)},
    };
    for (const auto& [what, file] : cases) {
        EXPECT_FALSE(SoundFile::open(file)) << what;
        EXPECT_FALSE(playSoundFile(file)) << what;
    }
}

} // namespace
} // namespace platform
