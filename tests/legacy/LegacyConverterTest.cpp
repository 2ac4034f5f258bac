#include "legacy/LegacyConverter.h"

#include "support/ListPath.h"
#include "support/SongObjects.h"
#include "builders/LegacyFileBuilder.h"
#include "support/TempDir.h"

#include <korman/ErrorCodes.h>

#include <gtest/gtest.h>

#include <chrono>
#include <numeric>
#include <vector>

using kor::test::LegacyFileBuilder;

namespace {

using kor::test::at;

class LegacyConverterTest : public ::testing::Test {
protected:
    std::uint32_t convert(const LegacyFileBuilder& legacy, std::int32_t preMeasure = 1) {
        return convertInto(doc_, legacy, preMeasure);
    }
    std::uint32_t convertInto(CZRKorDocument& doc, const LegacyFileBuilder& legacy,
                              std::int32_t preMeasure) {
        dir_.write("song.kor", legacy.bytes());
        return converter_.convert(dir_.wide("song.kor"), 0, preMeasure, doc);
    }
    CZRSequence* sequence() const { return doc_.root() ? doc_.root()->sequence() : nullptr; }
    CZRMasterTrack* master() const { return sequence()->masterTrack(); }
    CZRZRTrack* track(std::uint32_t index) const {
        return &at<CZRZRTrack>(sequence()->zrTrackList(), index);
    }
    CZRMusicalPart* part(std::uint32_t trackIndex, std::uint32_t index) const {
        return &at<CZRMusicalPart>(track(trackIndex)->partList(), index);
    }

    kor::test::TempDir dir_;
    ZRVVoiceLib defaultVoice_{0, 0, L"BCNFCY43LB2LZCD4", L"First", {}};
    kor::VVoiceTable voices_{{{0, 0}, defaultVoice_},
                             {{1, 3}, {1, 3, L"BNXFCY43LB2LZCD4", L"Second", {}}}};
    CxLegacyConverter converter_{voices_, defaultVoice_};
    CZRKorDocument doc_;
};

std::string noteTrack(const std::string& version, const std::string& extra = "") {
    return "[Common]\nVersion=" + version + "\nName=Voice\n" + extra +
           "[EventList]\n1920=Event0\n[Event0]\nType=Anote\nLength=480\nNote#=60\n";
}

} // namespace

TEST_F(LegacyConverterTest, KeepsSixteenSingingTracksAndTheMixerOfTheFirst) {
    LegacyFileBuilder legacy;
    legacy.singingTrack(noteTrack("KOR301",
                                  "[Mixer]\nMasterFeder=-10\nTracks=2\nFeder0=100\nPanpot0=-100\n"
                                  "Feder1=-5\nPanpot1=3\nMute1=1\nSolo1=1\n"));
    for (int i = 1; i < 17; ++i)
        legacy.singingTrack(noteTrack("KOR301"));
    ASSERT_EQ(convert(legacy), 0u) << converter_.message();
    EXPECT_EQ(sequence()->zrTrackList()->getCount(), 16u);
    EXPECT_EQ(master()->getSeqName(), L"Voice");

    CZRMixer* mixer = sequence()->mixer();
    EXPECT_EQ(mixer->masterUnit()->values().vol, -10);
    ASSERT_EQ(mixer->zrUnitList()->getCount(), 16u);
    const ZRZRUnitValues& first = at<CZRZRUnit>(mixer->zrUnitList(), 0).values();
    EXPECT_EQ(first.vol, 60);
    EXPECT_EQ(first.pan, 0);
    const ZRZRUnitValues& second = at<CZRZRUnit>(mixer->zrUnitList(), 1).values();
    EXPECT_EQ((std::vector<int>{second.vol, second.pan, second.mute, second.solo}),
              (std::vector<int>{-5, 67, 1, 1}));
    const ZRZRUnitValues& third = at<CZRZRUnit>(mixer->zrUnitList(), 2).values();
    EXPECT_EQ((std::vector<int>{third.trackNo, third.vol, third.pan, third.sendLevel}),
              (std::vector<int>{2, 0, 64, -898}));
}

TEST_F(LegacyConverterTest, ReportsWhatIsWrongWithTheFile) {
    EXPECT_EQ(converter_.convert(dir_.wide("missing.kor"), 0, 1, doc_), ZR_E_FILE_NOT_FOUND);
    EXPECT_EQ(converter_.status(), CxLegacyConverter::kStatusNotFound);

    kor::test::SmfBuilder plain;
    plain.addTrack().tempo(0, 500000);
    plain.addTrack().noteOn(0, 0, 60, 100).noteOn(480, 0, 60, 0);
    dir_.write("plain.mid", plain.bytes());
    EXPECT_EQ(converter_.convert(dir_.wide("plain.mid"), 0, 1, doc_), ZR_E_INVALID_KOR_FILE);
    EXPECT_EQ(converter_.status(), CxLegacyConverter::kStatusInvalid);
    EXPECT_EQ(doc_.root(), nullptr);
    EXPECT_EQ(doc_.objects().size(), 0u);

    LegacyFileBuilder corrupt;
    corrupt.singingTrack(noteTrack("KOR301"), 16, {0, 0, 2});
    EXPECT_EQ(convert(corrupt), ZR_E_INVALID_KOR_FILE);
    EXPECT_EQ(converter_.status(),
              CxLegacyConverter::kStatusInvalid | CxLegacyConverter::kStatusCorruptText);
    EXPECT_EQ(doc_.objects().size(), 0u);

    LegacyFileBuilder good;
    good.singingTrack(noteTrack("KOR201"));
    EXPECT_EQ(convert(good, 9), ZR_E_INVALID_KOR_FILE); // no such pre-measure count
    ASSERT_EQ(convert(good), 0u);
    EXPECT_EQ(convert(good), ZR_E_INVALID_PARAMETER); // the document already holds a song

    // Verification names the object it cannot repair within its list.
    CZRNodeList* portamento = kor::findMapList(part(0, 0)->styleControlLists(), L"POR");
    auto* fine = kor::createObject<CZRStyleControl>(doc_.context(), ZR_NO_OBJ_ID,
                                                    ZRStyleControlValues{0, L"POR", 64});
    auto* nameless = kor::createObject<CZRStyleControl>(doc_.context(), ZR_NO_OBJ_ID,
                                                        ZRStyleControlValues{10, L"", 64});
    ASSERT_TRUE(portamento->append(fine) && portamento->append(nameless));
    std::wstring expected = L"Verify error : ";
    fine->dump(expected, 0);
    expected += L"\nERROR >>>>> ";
    nameless->dump(expected, 0);
    expected += L" <<<<< ERROR\n";
    std::wstring message;
    EXPECT_EQ(kor::verifySong(doc_, message), ZR_E_INVALID_STYLE_CONTROL_ID);
    EXPECT_EQ(message, expected);
}

TEST_F(LegacyConverterTest, HostileSizesAreRefusedOrReadInBoundedTime) {
    const auto start = std::chrono::steady_clock::now();
    // The most tracks a file can declare, each with text: only the first sixteen are read.
    LegacyFileBuilder crowded;
    for (int i = 0; i < 65534; ++i)
        crowded.singingTrack(noteTrack("KOR301"));
    ASSERT_EQ(convert(crowded), 0u);
    EXPECT_EQ(sequence()->zrTrackList()->getCount(), 16u);

    // A track chunk that claims 4 GiB.
    LegacyFileBuilder good;
    good.singingTrack(noteTrack("KOR301"));
    std::string huge = good.bytes();
    const std::size_t secondTrack = huge.find("MTrk", huge.find("MTrk") + 4);
    dir_.write("huge.kor", huge.replace(secondTrack + 4, 4, "\xFF\xFF\xFF\xF0"));
    CZRKorDocument refused;
    EXPECT_EQ(converter_.convert(dir_.wide("huge.kor"), 0, 1, refused), ZR_E_INVALID_KOR_FILE);

    // A text of a million lines.
    std::string lines = noteTrack("KOR301") + "[PitchBendBPList]\n";
    for (int i = 0; i < 1000000; ++i)
        lines += "1920=" + std::to_string(i % 100) + "\n";
    LegacyFileBuilder tall;
    tall.singingTrack(lines);
    CZRKorDocument read;
    ASSERT_EQ(convertInto(read, tall, 1), 0u);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(60));
}
