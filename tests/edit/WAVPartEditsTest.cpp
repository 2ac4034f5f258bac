#include "edit/WAVPartEdits.h"

#include "model/TimeSig.h"
#include "model/WAVPartFiles.h"
#include "support/EditSong.h"
#include "support/TempDir.h"
#include "builders/WavBuilder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

using kor::test::TempDir;
using kor::test::WavBuilder;

namespace {

/// A PCM file of `frames` silent frames.
std::string wave(std::uint32_t frames, std::uint16_t channels = 1, std::uint32_t rate = 44100,
                 std::uint16_t bits = 16) {
    return WavBuilder()
        .fmt(1, channels, rate, bits)
        .data(std::string(std::size_t{frames} * channels * (bits / 8), '\0'))
        .bytes();
}

// The edit song in 4/4, saved as "song.korx" in a temporary folder; from tick 1920 on (the end
// of its one pre-measure) a second lasts 720 ticks.
struct WAVFixture {
    TempDir dir;
    EditSong song;
    TestHost host;
    CZRCommitHistory history{-1};
    ZRKorManagementPolicy policy;
    std::unique_ptr<CZRKorEditorIF> editor;

    WAVFixture() {
        song.doc.filePath = dir.wide("song.korx");
        auto* signature = kor::createObject<CZRTimeSig>(song.doc.context(), ZR_NO_OBJ_ID,
                                                        ZRTimeSigValues{0, 4, 4});
        EXPECT_TRUE(signature != nullptr && song.master->timeSigList()->append(signature));
        restart();
    }
    CZRKorEditorIF& restart() {
        editor = std::make_unique<CZRKorEditorIF>(host, policy, song.doc, history);
        return *editor;
    }
    std::uint32_t seList() const { return song.sequence->seTrack()->wavPartList()->getObjID(); }
    std::uint32_t backingList() const {
        return song.sequence->karaokeTrack()->wavPartList()->getObjID();
    }
    const CZRWAVPart* lastSEPart() const {
        const CZRNodeList* list = song.sequence->seTrack()->wavPartList();
        return kor::objCast<CZRWAVPart>(list->elementAt(list->getCount() - 1));
    }
};

} // namespace

TEST(WAVPartEdits, ChecksTheFileAndThePlaceInOrder) {
    struct Row {
        const char* name;
        std::string bytes;
        std::int32_t posTick = 1920;
        bool backing = false;
        int maxNoteTick = -1;
        int maxParts = -1;
        std::uint32_t expected;
        int channels = 0; // of the inserted part
    };
    const Row rows[] = {
        {"", "", 1920, false, -1, -1, ZR_E_INVALID_WAVE_FILE_PATH},
        {"missing.wav", "", 1920, false, -1, -1, ZR_E_INVALID_WAVE_FILE},
        {"text.wav", "RIFF....WAVEnothing", 1920, false, -1, -1, ZR_E_INVALID_WAVE_FILE},
        // The rate is checked before the channels, the channels after the place.
        {"slow.wav", wave(44100, 3, 22050), 0, false, -1, -1, ZR_E_INVALID_WAVE_SAMPLING_RATE},
        {"8bit.wav", wave(44100, 1, 44100, 8), 1920, false, -1, -1,
         ZR_E_INVALID_WAVE_SAMPLING_RESOLUTION},
        {"empty.wav", wave(0), 1920, false, -1, -1, ZR_E_INVALID_WAVE_FILE_DURATION},
        {"early.wav", wave(44100, 3), 1919, false, -1, -1, ZR_E_INVALID_PART_POSITION},
        {"short.wav", wave(3000, 3), 1920, false, -1, -1, ZR_E_INVALID_PART_PLAY_TIME},
        {"long.wav", wave(44100, 3), 1920, false, 2639, -1, ZR_E_INVALID_PART_DURATION},
        {"three.wav", wave(44100, 3), 1920, false, 2640, -1, ZR_E_INVALID_WAVE_CHANNELS},
        {"full.wav", wave(44100, 1), 1920, false, -1, 1, ZR_E_OUT_OF_WAV_PART_NUMBER},
        {"room.wav", wave(44100, 1), 1920, false, -1, 2, 0, 1},
        // Both tracks take mono and stereo files.
        {"stereo.wav", wave(44100, 2), 1920, false, -1, -1, 0, 2},
        {"mono.wav", wave(44100, 1), 1920, true, -1, -1, 0, 1},
    };
    for (const Row& row : rows) {
        WAVFixture f;
        f.policy.maxNoteTick = row.maxNoteTick;
        f.policy.maxPartsPerTrack = row.maxParts;
        if (!row.bytes.empty()) f.dir.write(row.name, row.bytes);
        const std::wstring path = *row.name == '\0' ? L"" : f.dir.wide(row.name);
        EXPECT_EQ(kor::insertWAVPartFromFile(f.restart().session(),
                                             row.backing ? f.backingList() : f.seList(),
                                             row.posTick, path, 0),
                  row.expected)
            << row.name;
        EXPECT_EQ(f.editor->session().pending().size(), row.expected == 0 ? 1u : 0u) << row.name;
        if (row.expected != 0) continue;
        ASSERT_EQ(f.editor->commit(), 1) << row.name;
        const CZRWAVTrack* track =
            row.backing ? f.song.sequence->karaokeTrack() : f.song.sequence->seTrack();
        const CZRNodeList* list = track->wavPartList();
        const auto* part = kor::objCast<CZRWAVPart>(list->elementAt(list->getCount() - 1));
        ASSERT_NE(part, nullptr) << row.name;
        EXPECT_EQ(part->getChannels(), row.channels) << row.name;
    }

    WAVFixture f;
    f.dir.write("a.wav", wave(44100));
    const std::wstring path = f.dir.wide("a.wav");
    EXPECT_EQ(kor::insertWAVPartFromFile(f.editor->session(), f.song.track->partList()->getObjID(),
                                         1920, path, 0),
              ZR_E_EDIT_TARGET_NOT_FOUND);
    // Without a song file and a temporary file there is no folder to keep the audio in.
    f.song.doc.filePath.clear();
    EXPECT_EQ(kor::insertWAVPartFromFile(f.editor->session(), f.seList(), 1920, path, 0),
              ZR_E_CANNOT_SAVE_WAV_FILE);
}

TEST(WAVPartEdits, CopiesTheFileIntoThePartsFolderUnderAFreeName) {
    WAVFixture f;
    f.dir.write("a.wav", wave(44100));
    std::filesystem::create_directory(f.dir.path() + "/other");
    f.dir.write("other/a.wav", wave(88200));
    const std::wstring before = f.song.dump();
    ASSERT_EQ(
        kor::insertWAVPartFromFile(f.editor->session(), f.seList(), 1920, f.dir.wide("a.wav"), 0),
        0u);
    ASSERT_EQ(f.editor->commit(), 1);

    const CZRWAVPart* part = f.lastSEPart();
    ASSERT_NE(part, nullptr);
    EXPECT_EQ(part->getFilePath(), L"a.wav");
    EXPECT_EQ(part->getName(), L"a");
    EXPECT_EQ(part->getDurSec(), 65536);
    EXPECT_EQ(part->getDurTick(), 720);
    EXPECT_EQ(part->getPlayTime(), 720);
    EXPECT_EQ(std::tuple(part->getSampleRate(), part->getSampleReso(), part->getChannels()),
              std::tuple(44100, 16, 1));
    EXPECT_EQ(kor::actualWAVFilePath(f.song.doc, *part), f.dir.wide("song.wavparts/a.wav"));
    EXPECT_EQ(f.dir.read("song.wavparts/a.wav"), wave(44100));
    expectUndoAndRedo(f.song, f.history, before);

    // Another file of that name keeps the first unless asked to replace it; the stored file
    // itself is not copied again.
    ASSERT_EQ(kor::insertWAVPartFromFile(f.restart().session(), f.seList(), 3840,
                                         f.dir.wide("other/a.wav"), 0),
              0u);
    ASSERT_EQ(f.editor->commit(), 1);
    EXPECT_EQ(f.lastSEPart()->getFilePath(), L"a_2.wav");
    EXPECT_EQ(f.dir.read("song.wavparts/a_2.wav"), wave(88200));
    ASSERT_EQ(kor::insertWAVPartFromFile(f.restart().session(), f.seList(), 1920,
                                         f.dir.wide("song.wavparts/a.wav"), 0),
              0u);
    ASSERT_EQ(kor::insertWAVPartFromFile(f.editor->session(), f.seList(), 3840,
                                         f.dir.wide("other/a.wav"), 1),
              0u);
    ASSERT_EQ(f.editor->commit(), 1);
    EXPECT_EQ(f.dir.read("song.wavparts/a.wav"), wave(88200));
    EXPECT_FALSE(std::filesystem::exists(f.dir.path() + "/song.wavparts/a_3.wav"));
}
