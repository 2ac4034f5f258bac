#include <korman/CZRWaveReader.h>

#include "support/TempDir.h"
#include "builders/WavBuilder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <limits>

using kor::test::TempDir;
using kor::test::WavBuilder;

namespace {

struct WaveFile {
    TempDir dir;
    std::wstring path;
    explicit WaveFile(const std::string& bytes)
        : path(dir.wide("sound.wav")) {
        dir.write("sound.wav", bytes);
    }
};

} // namespace

TEST(WaveReader, OpensPcmReportsItsFormatAndReopeningClosesThePreviousFile) {
    WaveFile stereo(WavBuilder()
                        .chunk("LIST", "odd")
                        .fmt(1, 2, 44100, 16, 2)
                        .chunk("fact", std::string(4, '\0'))
                        .data(WavBuilder::stereoRamp(100))
                        .bytes());
    WaveFile mono(WavBuilder().fmt(1, 1, 96000, 8).data(std::string(7, '\x80')).bytes());
    CZRWaveReader reader;
    ASSERT_EQ(reader.open(stereo.path.c_str()), 1);
    EXPECT_EQ(reader.getFormatTag(), 1u);
    EXPECT_EQ(reader.getSampleRate(), 44100);
    EXPECT_EQ(reader.getSampleReso(), 16);
    EXPECT_EQ(reader.getChannels(), 2);
    EXPECT_EQ(reader.getDataSize(), 400u);
    EXPECT_EQ(reader.getSampleNum(), 100u);

    ASSERT_EQ(reader.open(mono.path.c_str()), 1);
    EXPECT_EQ(reader.getSampleRate(), 96000);
    EXPECT_EQ(reader.getSampleNum(), 7u);
    reader.close();
    EXPECT_EQ(reader.getSampleNum(), 0u);
    EXPECT_EQ(reader.getSampleRate(), 0);
    ASSERT_EQ(reader.open(mono.path.c_str()), 1);
    EXPECT_EQ(reader.open(L"/nonexistent.wav"), 0);
    EXPECT_EQ(reader.getSampleNum(), 0u);
}

TEST(WaveReader, RefusesWhatIsNotPlainPcmOfOneOrTwoChannels) {
    const std::string ramp = WavBuilder::stereoRamp(4);
    struct Case {
        const char* what;
        std::string bytes;
    };
    const Case cases[] = {
        {"float", WavBuilder().fmt(3, 2, 44100, 32).data(ramp).bytes()},
        {"extensible", WavBuilder().fmt(0xFFFE, 2, 44100, 16, 24).data(ramp).bytes()},
        {"three channels", WavBuilder().fmt(1, 3, 44100, 16).data(ramp).bytes()},
        {"4 bits", WavBuilder().fmt(1, 1, 44100, 4).data(ramp).bytes()},
        {"no data chunk", WavBuilder().fmt(1, 2, 44100, 16).bytes()},
        {"no fmt chunk", WavBuilder().data(ramp).bytes()},
        {"short fmt chunk", WavBuilder().chunk("fmt ", "\x01").data(ramp).bytes()},
        {"not WAVE", "RIFF\x04\0\0\0AVI "},
        {"no data chunk in a form larger than the file",
         WavBuilder().fmt(1, 2, 44100, 16).bytes().replace(4, 4, "\xff\xff\0\0")},
        {"empty", ""},
    };
    for (const Case& c : cases) {
        WaveFile file(c.bytes);
        CZRWaveReader reader;
        EXPECT_EQ(reader.open(file.path.c_str()), 0) << c.what;
        EXPECT_EQ(reader.getSampleNum(), 0u) << c.what;
        EXPECT_EQ(reader.readSamples(nullptr, 1), 0u) << c.what;
    }
    CZRWaveReader reader;
    EXPECT_EQ(reader.open(nullptr), 0);
    EXPECT_EQ(reader.open(L"/nonexistent/sound.wav"), 0);
}

// Recorders that stream leave sizes they never fix, and copies lose their last bytes: the
// frames that are there still play.
TEST(WaveReader, OpensFilesWhoseSizesRunPastWhatTheyHold) {
    const std::string whole =
        WavBuilder().fmt(1, 2, 44100, 16).data(WavBuilder::stereoRamp(100)).bytes();
    const std::string odd = WavBuilder().fmt(1, 1, 44100, 8).data(std::string(7, '\x80')).bytes();
    const auto withSize = [](std::string bytes, std::size_t at, std::uint32_t size) {
        std::string field;
        WavBuilder::put32(field, size);
        return bytes.replace(at, 4, field);
    };
    const struct {
        const char* what;
        std::string bytes;
        std::uint32_t frames;
    } cases[] = {
        {"RIFF size left at 36", withSize(whole, 4, 36), 100},
        {"RIFF size 0", withSize(whole, 4, 0), 100},
        {"RIFF and data sizes 0xFFFFFFFF", withSize(withSize(whole, 4, 0xFFFFFFFF), 40, 0xFFFFFFFF),
         100},
        {"data chunk claiming 4 GiB", withSize(whole, 40, 0xFFFFFFF0), 100},
        {"cut short by one byte", whole.substr(0, whole.size() - 1), 99},
        {"missing the final pad byte", odd.substr(0, odd.size() - 1), 7},
    };
    for (const auto& c : cases) {
        WaveFile file(c.bytes);
        CZRWaveReader reader;
        ASSERT_EQ(reader.open(file.path.c_str()), 1) << c.what;
        EXPECT_EQ(reader.getSampleNum(), c.frames) << c.what;
        EXPECT_EQ(reader.getDataSize(), c.bytes.size() - 44) << c.what;
        std::int16_t frames[2 * 101] = {};
        ASSERT_EQ(reader.readSamples(frames, 101), c.frames) << c.what;
        const auto frameSize =
            static_cast<std::size_t>(reader.getChannels() * reader.getSampleReso() / 8);
        EXPECT_EQ(std::memcmp(frames, c.bytes.data() + 44, c.frames * frameSize), 0) << c.what;
    }
}

namespace {

// What an independent walk over a WAV file's chunks finds: the format fields and the data chunk.
struct PlainWave {
    int channels = 0;
    int bits = 0;
    int rate = 0;
    std::string data;
};

std::optional<PlainWave> readPlainWave(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), {});
    const auto u16 = [&bytes](std::size_t at) {
        return static_cast<int>(static_cast<unsigned char>(bytes[at]) |
                                static_cast<unsigned char>(bytes[at + 1]) << 8);
    };
    const auto u32 = [&](std::size_t at) {
        return static_cast<std::size_t>(u16(at)) | static_cast<std::size_t>(u16(at + 2)) << 16;
    };
    if (bytes.size() < 12 || bytes.compare(0, 4, "RIFF") != 0 || bytes.compare(8, 4, "WAVE") != 0)
        return std::nullopt;
    PlainWave wave;
    for (std::size_t at = 12; at + 8 <= bytes.size();) {
        const std::string id = bytes.substr(at, 4);
        const std::size_t size = u32(at + 4);
        if (id == "fmt ") {
            wave.channels = u16(at + 10);
            wave.rate = static_cast<int>(u32(at + 12));
            wave.bits = u16(at + 22);
        } else if (id == "data") {
            wave.data = bytes.substr(at + 8, size);
            return wave;
        }
        at += 8 + size + (size & 1);
    }
    return std::nullopt;
}

} // namespace

TEST(WaveReader, ReadsFramesFromTheSeekPositionAndClampsAtTheEnd) {
    WaveFile file(WavBuilder().fmt(1, 2, 44100, 16).data(WavBuilder::stereoRamp(100)).bytes());
    CZRWaveReader reader;
    EXPECT_EQ(reader.seekPosSec(0.0), 0); // closed
    ASSERT_EQ(reader.open(file.path.c_str()), 1);

    std::int16_t frames[2 * 8] = {};
    // A time in seconds seeks to the frame it falls in; a time far past the end seeks there.
    EXPECT_EQ(reader.seekPosSec(-0.5), 0);
    EXPECT_EQ(reader.seekPosSec(std::nan("")), 0);
    ASSERT_EQ(reader.seekPosSec(50.9 / 44100), 1);
    ASSERT_EQ(reader.readSamples(frames, 1), 1u);
    EXPECT_EQ(frames[0], 50);
    ASSERT_EQ(reader.seekPosSec(1e12), 1);
    EXPECT_EQ(reader.readSamples(frames, 1), 0u);

    ASSERT_EQ(reader.seekPosSample(95), 1);
    ASSERT_EQ(reader.readSamples(frames, 8), 5u);
    EXPECT_EQ(frames[0], 95);
    EXPECT_EQ(frames[1], -95);
    EXPECT_EQ(frames[8], 99);
    EXPECT_EQ(reader.readSamples(frames, 8), 0u);

    // A frame past the end is accepted; reading there gives nothing.
    EXPECT_EQ(reader.seekPosSample(1000), 1);
    EXPECT_EQ(reader.readSamples(frames, 1), 0u);
    ASSERT_EQ(reader.seekPosSample(0), 1);
    ASSERT_EQ(reader.readSamples(frames, 1), 1u);
    EXPECT_EQ(frames[0], 0);
    EXPECT_EQ(reader.readSamples(frames, 0), 0u);
    EXPECT_EQ(reader.readSamples(nullptr, 1), 0u);
}

TEST(WaveReader, ReadsRealRecordingsLikeAPlainWalkOfTheirChunks) {
    const std::filesystem::path folder = KORMAN_WAV_SAMPLES_DIR;
    if (!std::filesystem::is_directory(folder))
        GTEST_SKIP() << "no real WAV files in " << folder
                     << " (scripts/bootstrap.sh --samples wav fetches them; needs the network)";
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        const auto plain = readPlainWave(entry.path());
        ASSERT_TRUE(plain) << entry.path();
        CZRWaveReader reader;
        ASSERT_EQ(reader.open(entry.path().wstring().c_str()), 1) << entry.path();
        const int frameSize = plain->bits / 8 * plain->channels;
        EXPECT_EQ(reader.getChannels(), plain->channels) << entry.path();
        EXPECT_EQ(reader.getSampleRate(), plain->rate) << entry.path();
        EXPECT_EQ(reader.getDataSize(), plain->data.size()) << entry.path();
        ASSERT_EQ(reader.getSampleNum(), plain->data.size() / frameSize) << entry.path();

        std::vector<std::int16_t> frames(64 * 2);
        const unsigned int read = reader.readSamples(frames.data(), 64);
        ASSERT_EQ(read, std::min<unsigned int>(64, reader.getSampleNum())) << entry.path();
        EXPECT_EQ(std::memcmp(frames.data(), plain->data.data(), read * frameSize), 0)
            << entry.path();
        ++files;
    }
    EXPECT_GE(files, 10);
}
