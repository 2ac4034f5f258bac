#include "platform/RiffFile.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdint>

using kor::platform::RiffFile;
using kor::test::TempDir;

namespace {

// A chunk as stored: id, declared size (the data's by default), data, a pad byte after odd data.
std::string chunk(const char* id, const std::string& data, std::int64_t declared = -1) {
    const auto size = static_cast<std::uint32_t>(declared < 0 ? data.size() : declared);
    std::string out(id, 4);
    for (int shift = 0; shift < 32; shift += 8)
        out += static_cast<char>(size >> shift);
    return out + data + (data.size() % 2 ? std::string(1, '\0') : "");
}

std::string wave(const std::string& chunks) {
    return chunk("RIFF", "WAVE" + chunks);
}

bool openWave(const TempDir& dir, RiffFile& riff, const std::string& bytes) {
    dir.write("a.wav", bytes);
    return riff.open(dir.wide("a.wav")) && riff.descendIntoForm("WAVE");
}

} // namespace

TEST(RiffFile, WalksPastUnknownAndOddChunks) {
    TempDir dir;
    RiffFile riff;
    ASSERT_TRUE(
        openWave(dir, riff,
                 chunk("JUNK", "xyz") + wave(chunk("LIST", "odd") + chunk("data", "0123456789"))));
    EXPECT_EQ(riff.position(), 24u) << "past the padded JUNK chunk and the form header";
    const auto list = riff.descendIntoChunk("LIST");
    char bytes[10] = {};
    ASSERT_TRUE(list && riff.read(bytes, 1) == 1 && riff.ascend());
    EXPECT_EQ(riff.position(), list->dataOffset + 4) << "ascending skips the pad byte";

    const auto data = riff.descendIntoChunk("data");
    ASSERT_TRUE(data);
    EXPECT_EQ(data->size, 10u);
    ASSERT_TRUE(riff.seek(4, RiffFile::Origin::Current));
    EXPECT_EQ(riff.read(bytes, sizeof bytes), 6u) << "reads stop at the end of the file";
    EXPECT_EQ(std::string(bytes, 6), "456789");
    EXPECT_FALSE(riff.seek(-1, RiffFile::Origin::Begin));
    EXPECT_TRUE(riff.seek(1000, RiffFile::Origin::Begin));
    EXPECT_EQ(riff.read(bytes, 1), 0u);
}

TEST(RiffFile, RejectsMalformedOrMissingChunks) {
    const std::string fmt = chunk("fmt ", std::string(16, 'f'));
    const std::pair<const char*, std::string> rows[] = {
        {"no data chunk", wave(fmt)},
        {"data swallowed by a chunk claiming more",
         wave(fmt + chunk("LIST", "", 40) + chunk("data", "ab"))},
        {"truncated chunk header", wave(fmt + "da\x02")},
    };
    for (const auto& [what, bytes] : rows) {
        TempDir dir;
        RiffFile riff;
        ASSERT_TRUE(openWave(dir, riff, bytes) && riff.descendIntoChunk("fmt ") && riff.ascend());
        const std::uint64_t before = riff.position();
        EXPECT_FALSE(riff.descendIntoChunk("data")) << what;
        EXPECT_EQ(riff.position(), before) << what;
    }
    TempDir dir;
    RiffFile riff;
    EXPECT_FALSE(openWave(dir, riff, chunk("RIFF", "AVI ")));
    EXPECT_FALSE(riff.open(dir.wide()));
}
