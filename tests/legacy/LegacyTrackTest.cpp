#include "legacy/LegacyTrack.h"

#include "legacy/TypedFile.h"

#include <gtest/gtest.h>

namespace {

const char* const kTrack =
    "[Common]\nVersion=DSB301\nName=Lead\n"
    "[Master]\nPreMeasure=3\n"
    "[Mixer]\nMasterFeder=100\nTracks=2\nFeder0=100\nPanpot0=-100\nMute0=1\nSolo0=2\n"
    "Feder1=-1000\nPanpot1=10\nSolo1=1\n"
    "[EventList]\n$000003C0=ID#0001,ID#0002\n0=ID#0000\n"
    "[ID#0000]\nType=Singer\nIconHandle=h#0000\n"
    "[ID#0001]\nType=Anote\nLength=$1E0\nNote#=64\nPMBendDepth=300\nPMBendLength=-1\n"
    "PMbPortamentoUse=3\nDEMdecGainRate=50\nDEMaccent=20\nLyricHandle=h#0001\n"
    "VibratoHandle=h#0002\nVibratoDelay=120\n"
    "[ID#0002]\nType=Anote\nLength=100\nNote#=200\nLyricHandle=h#0003\n"
    "[h#0000]\nIconID=$07010000\nLanguage=1\nProgram=4\n"
    "[h#0001]\nL0=\"sa\",\"s a\",0.000000,64,0,1\n"
    "[h#0002]\nIconID=$04040003\nStartDepth=64\nDepthBPNum=2\nDepthBPX=0.5,1.0\nDepthBPY=80,200\n"
    "StartRate=50\nRateBPNum=0\n"
    "[h#0003]\nL0=\"a\",\"a\",0.000000,0,0\nL1=\"i\",\"i\",0.000000,0,0\nL2=\"u\",\"M\",0.000000,0,0\n"
    "[PitchBendBPList]\n960=100\n0=-5\n480=7\n";

} // namespace

TEST(LegacyTrack, VersionIsTheTrailingNumber) {
    EXPECT_EQ(kor::legacyVersionNumber(L"DSB301"), 301);
    EXPECT_EQ(kor::legacyVersionNumber(L"DSB2.0.201"), 201);
    EXPECT_EQ(kor::legacyVersionNumber(L"DSB"), 0);
    EXPECT_EQ(kor::legacyVersionNumber(L""), 0);
}

TEST(LegacyTrack, ReadsNotesSingersAndCurves) {
    CxTypedFile text;
    ASSERT_TRUE(text.parseText(kTrack, false));
    kor::LegacyTrack track;
    ASSERT_TRUE(kor::readLegacyTrack(text, false, track));
    EXPECT_EQ(track.version, 301);
    EXPECT_EQ(track.name, L"Lead");
    EXPECT_EQ(track.preMeasure, 0); // only the first singing track's counts
    EXPECT_FALSE(track.mixer.has_value());

    ASSERT_EQ(track.singers.size(), 1u);
    EXPECT_EQ(track.singers[0].bankSelect, 1);
    EXPECT_EQ(track.singers[0].program, 4);

    ASSERT_EQ(track.notes.size(), 4u);
    const kor::LegacyNote& sa = track.notes[0];
    EXPECT_EQ(sa.tick, 960);
    EXPECT_EQ(sa.length, 480);
    EXPECT_EQ(sa.noteNum, 64);
    EXPECT_EQ(sa.lyric, L"sa");
    EXPECT_EQ(sa.phonemes, (std::vector<std::wstring>{L"s", L"a"}));
    EXPECT_EQ(sa.phLock, 1);
    EXPECT_EQ(sa.bendDepth, 44);   // low byte of 300
    EXPECT_EQ(sa.bendLength, 100); // -1 is 255, capped
    EXPECT_EQ(sa.risePort, 1);
    EXPECT_EQ(sa.fallPort, 1);
    EXPECT_EQ(sa.accent, 20);
    ASSERT_TRUE(sa.vibrato.has_value());
    EXPECT_EQ(sa.vibrato->type, 3);
    EXPECT_EQ(sa.vibrato->length, 75); // from tick 120 of 480
    ASSERT_EQ(sa.vibrato->depth.size(), 3u);
    EXPECT_EQ(sa.vibrato->depth[0].posNrm, 16384);
    EXPECT_EQ(sa.vibrato->depth[1].posNrm, 40960); // halfway through the vibrating span
    EXPECT_EQ(sa.vibrato->depth[2].posNrm, 65536);
    EXPECT_EQ(sa.vibrato->depth[2].value, 127);
    EXPECT_EQ(sa.vibrato->rate.size(), 1u);

    // Three lyrics on one 100-tick event: three notes one after the other.
    std::vector<std::pair<std::int32_t, std::int32_t>> spans;
    for (std::size_t i = 1; i < 4; ++i)
        spans.emplace_back(track.notes[i].tick, track.notes[i].length);
    EXPECT_EQ(spans, (std::vector<std::pair<std::int32_t, std::int32_t>>{{960, 33}, {993, 33}, {1026, 34}}));
    EXPECT_EQ(track.notes[3].phonemes, (std::vector<std::wstring>{L"M"}));
    EXPECT_EQ(track.notes[3].noteNum, 127);
    EXPECT_EQ(track.notes[3].phLock, 0);
    EXPECT_FALSE(track.notes[3].vibrato.has_value());

    const auto& pitch = track.curves[static_cast<std::size_t>(kor::LegacyCurve::PitchBend)];
    ASSERT_EQ(pitch.size(), 3u);
    EXPECT_EQ(pitch[0].value, -5);
    EXPECT_EQ(pitch[2].tick, 960);
}

TEST(LegacyTrack, FirstTrackOfNewerFilesCarriesMasterAndMixer) {
    CxTypedFile text;
    ASSERT_TRUE(text.parseText(kTrack, false));
    kor::LegacyTrack track;
    ASSERT_TRUE(kor::readLegacyTrack(text, true, track));
    EXPECT_EQ(track.preMeasure, 3);
    ASSERT_TRUE(track.mixer.has_value());
    EXPECT_EQ(track.mixer->masterVolume, 60);
    ASSERT_EQ(track.mixer->columns.size(), 2u);
    EXPECT_EQ(track.mixer->columns[0].volume, 60);
    EXPECT_EQ(track.mixer->columns[0].pan, 0);
    EXPECT_EQ(track.mixer->columns[0].mute, 1);
    EXPECT_FALSE(track.mixer->columns[0].solo.has_value());
    EXPECT_EQ(track.mixer->columns[1].volume, -898);
    EXPECT_EQ(track.mixer->columns[1].pan, 74);
    EXPECT_FALSE(track.mixer->columns[1].mute.has_value());
    EXPECT_EQ(track.mixer->columns[1].solo, 1);

    // Version 201 files keep neither.
    CxTypedFile older;
    std::string olderText = kTrack;
    olderText.replace(olderText.find("DSB301"), 6, "DSB201");
    ASSERT_TRUE(older.parseText(olderText, false));
    ASSERT_TRUE(kor::readLegacyTrack(older, true, track));
    EXPECT_EQ(track.preMeasure, 0);
    EXPECT_FALSE(track.mixer.has_value());
}
