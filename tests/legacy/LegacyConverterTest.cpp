#include "legacy/LegacyConverter.h"

#include "model/KorDocument.h"
#include "model/KorRoot.h"
#include "model/MasterTrack.h"
#include "model/MasterUnit.h"
#include "model/Mixer.h"
#include "model/MusicalControl.h"
#include "model/MusicalNote.h"
#include "model/MusicalPart.h"
#include "model/MusicalSinger.h"
#include "model/NodeList.h"
#include "model/NoteStyleAttrib.h"
#include "model/NoteStyleSeqAttrib.h"
#include "model/NoteStyleSeqAttribElement.h"
#include "model/ObjectFactory.h"
#include "model/Sequence.h"
#include "model/StyleControl.h"
#include "model/Tempo.h"
#include "model/TimeSig.h"
#include "model/ZRTrack.h"
#include "model/ZRUnit.h"
#include "builders/LegacyFileBuilder.h"
#include "support/TempDir.h"

#include <korman/ErrorCodes.h>

#include <gtest/gtest.h>

#include <chrono>
#include <numeric>
#include <vector>

using kor::test::LegacyFileBuilder;

namespace {

template <class T> T* at(CZRNodeList* list, std::uint32_t index) {
    return list ? kor::objCast<T>(list->elementAt(index)) : nullptr;
}

// The note's style values for the given ids, -1 for each it lacks.
std::vector<std::int32_t> styleValues(const CZRMusicalNote* note, std::initializer_list<const wchar_t*> ids) {
    std::vector<std::int32_t> values;
    for (const wchar_t* id : ids)
        if (!note->noteStyle()->getValue(id, values.emplace_back(-1))) values.back() = -1;
    return values;
}

// The values of a part's portamento style controls, in order.
std::vector<std::int32_t> portamento(CZRMusicalPart* part) {
    std::vector<std::int32_t> values;
    if (CZRNodeList* list = kor::findMapList(part->styleControlLists(), L"POR"))
        for (IZRMutableKorObject* element : list->elements())
            values.push_back(kor::objCast<CZRStyleControl>(element)->getVal());
    return values;
}

class LegacyConverterTest : public ::testing::Test {
protected:
    std::uint32_t convert(const LegacyFileBuilder& legacy, std::int32_t preMeasure = 1) {
        return convertInto(doc_, legacy, preMeasure);
    }
    std::uint32_t convertInto(CZRKorDocument& doc, const LegacyFileBuilder& legacy, std::int32_t preMeasure) {
        dir_.write("song.kor", legacy.bytes());
        return converter_.convert(dir_.wide("song.kor"), 0, preMeasure, doc);
    }
    CZRSequence* sequence() const { return doc_.root() ? doc_.root()->sequence() : nullptr; }
    CZRMasterTrack* master() const { return sequence()->masterTrack(); }
    CZRZRTrack* track(std::uint32_t index) const { return at<CZRZRTrack>(sequence()->zrTrackList(), index); }
    CZRMusicalPart* part(std::uint32_t trackIndex, std::uint32_t index) const {
        return at<CZRMusicalPart>(track(trackIndex)->partList(), index);
    }

    kor::test::TempDir dir_;
    ZRVVoiceLib defaultVoice_{0, 0, L"BCNFCY43LB2LZCD4", L"First", {}};
    kor::VVoiceTable voices_{{{0, 0}, defaultVoice_}, {{1, 3}, {1, 3, L"BNXFCY43LB2LZCD4", L"Second", {}}}};
    CxLegacyConverter converter_{voices_, defaultVoice_};
    CZRKorDocument doc_;
};

std::string noteTrack(const std::string& version, const std::string& extra = "") {
    return "[Common]\nVersion=" + version + "\nName=Voice\n" + extra +
           "[EventList]\n1920=Event0\n[Event0]\nType=Anote\nLength=480\nNote#=60\n";
}

} // namespace

TEST_F(LegacyConverterTest, OlderFilesTakeTheCallersPreMeasureNewerTheirOwn) {
    LegacyFileBuilder older;
    older.conductor().tempo(0, 500000).timeSignature(0, 3, 3).tempo(960, 250000);
    older.singingTrack(noteTrack("KOR201"));
    ASSERT_EQ(convert(older, 2), 0u) << converter_.message();
    EXPECT_EQ(converter_.legacyLevel(), 2);
    EXPECT_EQ(master()->getPreMeasure(), 2);
    // Two 3/8 measures of 720 ticks in front.
    EXPECT_EQ(part(0, 0)->getPosTick(), 1920 + 1440);
    EXPECT_EQ(at<CZRTempo>(master()->tempoList(), 1)->getPosTick(), 960 + 1440);
    EXPECT_EQ(at<CZRTimeSig>(master()->timeSigList(), 0)->getDenominator(), 8);

    CZRKorDocument second;
    LegacyFileBuilder newer;
    newer.singingTrack(noteTrack("KOR202", "[Master]\nPreMeasure=3\n"));
    ASSERT_EQ(convertInto(second, newer, 2), 0u);
    EXPECT_EQ(converter_.legacyLevel(), 3);
    CZRSequence* newerSong = second.root()->sequence();
    EXPECT_EQ(newerSong->masterTrack()->getPreMeasure(), 3);
    EXPECT_EQ(at<CZRMusicalPart>(at<CZRZRTrack>(newerSong->zrTrackList(), 0)->partList(), 0)->getPosTick(), 1920);
}

TEST_F(LegacyConverterTest, KeepsSixteenSingingTracksAndTheMixerOfTheFirst) {
    LegacyFileBuilder legacy;
    legacy.singingTrack(noteTrack("KOR301", "[Mixer]\nMasterFeder=-10\nTracks=2\nFeder0=100\nPanpot0=-100\n"
                                            "Feder1=-5\nPanpot1=3\nMute1=1\nSolo1=1\n"));
    for (int i = 1; i < 17; ++i)
        legacy.singingTrack(noteTrack("KOR301"));
    ASSERT_EQ(convert(legacy), 0u) << converter_.message();
    EXPECT_EQ(sequence()->zrTrackList()->getCount(), 16u);
    EXPECT_EQ(master()->getSeqName(), L"Voice");

    CZRMixer* mixer = sequence()->mixer();
    EXPECT_EQ(mixer->masterUnit()->values().vol, -10);
    ASSERT_EQ(mixer->zrUnitList()->getCount(), 16u);
    const ZRZRUnitValues& first = at<CZRZRUnit>(mixer->zrUnitList(), 0)->values();
    EXPECT_EQ(first.vol, 60);
    EXPECT_EQ(first.pan, 0);
    const ZRZRUnitValues& second = at<CZRZRUnit>(mixer->zrUnitList(), 1)->values();
    EXPECT_EQ((std::vector<int>{second.vol, second.pan, second.mute, second.solo}), (std::vector<int>{-5, 67, 1, 1}));
    const ZRZRUnitValues& third = at<CZRZRUnit>(mixer->zrUnitList(), 2)->values();
    EXPECT_EQ((std::vector<int>{third.trackNo, third.vol, third.pan, third.sendLevel}), (std::vector<int>{2, 0, 64, -898}));
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
    EXPECT_EQ(converter_.status(), CxLegacyConverter::kStatusInvalid | CxLegacyConverter::kStatusCorruptText);
    EXPECT_EQ(doc_.objects().size(), 0u);

    LegacyFileBuilder good;
    good.singingTrack(noteTrack("KOR201"));
    EXPECT_EQ(convert(good, 9), ZR_E_INVALID_KOR_FILE); // no such pre-measure count
    ASSERT_EQ(convert(good), 0u);
    EXPECT_EQ(convert(good), ZR_E_INVALID_PARAMETER); // the document already holds a song

    // Verification names the object it cannot repair within its list.
    CZRNodeList* portamento = kor::findMapList(part(0, 0)->styleControlLists(), L"POR");
    auto* fine = kor::createObject<CZRStyleControl>(doc_.context(), ZR_NO_OBJ_ID, ZRStyleControlValues{0, L"POR", 64});
    auto* nameless = kor::createObject<CZRStyleControl>(doc_.context(), ZR_NO_OBJ_ID, ZRStyleControlValues{10, L"", 64});
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

TEST_F(LegacyConverterTest, AbsurdNumbersAreKeptInRange) {
    LegacyFileBuilder legacy;
    legacy.conductor().tempo(0, 0).timeSignature(0, 255, 30).tempo(0x7FFFFFF, 1).timeSignature(0xFFFFFFF, 1, 200);
    legacy.singingTrack("[Common]\nVersion=KOR99999999999\n[Master]\nPreMeasure=99\n"
                        "[EventList]\n-5=Event0\n$7FFFFFFF=Event0\n$1FFFFFFF=Event0,Event0\n"
                        "[Event0]\nType=Anote\nLength=$7FFFFFFF\nNote#=-3\nVibratoHandle=v\nVibratoDelay=-2147483648\n"
                        "LyricHandle=l\n[l]\nL0=,,,,\nL1=\"\n"
                        "[v]\nIconID=$FFFFFFFF\nDepthBPNum=9999\nDepthBPX=2,-1,0.5\nDepthBPY=1,2\n"
                        "[DynamicsBPList]\n-2147483648=1\n2147483647=2\n");
    EXPECT_EQ(convert(legacy, 8), 0u) << std::string(converter_.message().begin(), converter_.message().end());
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

// Two singers, lyrics with phonetic symbols, a vibrato, all curves and a mixer, written the
// way legacy files store them.
TEST_F(LegacyConverterTest, ConvertsARealisticTwoTrackSong) {
    const std::string lead =
        "[Common]\r\nVersion=KOR301\r\nName=Lead\r\n"
        "[Master]\r\nPreMeasure=1\r\n"
        "[Mixer]\r\nMasterFeder=0\r\nTracks=2\r\nFeder0=-20\r\nPanpot0=-10\r\nMute0=0\r\nSolo0=0\r\n"
        "Feder1=0\r\nPanpot1=10\r\nMute1=0\r\nSolo1=0\r\n"
        "[EventList]\r\n0=Event0\r\n1920=Event1\r\n2400=Event2\r\n4800=Event3,Event4\r\n"
        "[Event0]\r\nType=Singer\r\nIconHandle=Handle0\r\n"
        "[Event1]\r\nType=Anote\r\nLength=480\r\nNote#=60\r\nLyricHandle=Handle1\r\n"
        "PMBendDepth=300\r\nPMBendLength=-1\r\nPMbPortamentoUse=1\r\nDEMdecGainRate=40\r\nDEMaccent=70\r\n"
        "[Event2]\r\nType=Anote\r\nLength=960\r\nNote#=62\r\nLyricHandle=Handle2\r\n"
        "VibratoHandle=Handle3\r\nVibratoDelay=480\r\n"
        "[Event3]\r\nType=Singer\r\nIconHandle=Handle4\r\n"
        "[Event4]\r\nType=Anote\r\nLength=240\r\nNote#=64\r\nLyricHandle=Handle5\r\n"
        "[Handle0]\r\nLanguage=0\r\nProgram=0\r\n"
        "[Handle1]\r\nL0=\"ka\",\"k a\",0.000000,64,0,0\r\n"
        "[Handle2]\r\nL0=\"ze\",\"dz e\",0.000000,64,0,1\r\n"
        "[Handle3]\r\nIconID=$00000002\r\nStartDepth=50\r\nDepthBPNum=1\r\nDepthBPX=0.5\r\nDepthBPY=90\r\n"
        "StartRate=40\r\nRateBPNum=1\r\nRateBPX=1.0\r\nRateBPY=60\r\n"
        "[Handle4]\r\nLanguage=1\r\nProgram=3\r\n"
        "[Handle5]\r\nL0=\"a\",\"a\",0.000000,0,0\r\n"
        "[DynamicsBPList]\r\n0=64\r\n2000=90\r\n5000=30\r\n"
        "[EpRResidualBPList]\r\n1920=10\r\n"
        "[EpRESlopeBPList]\r\n1920=20\r\n"
        "[EpRESlopeDepthBPList]\r\n1920=30\r\n"
        "[GenderFactorBPList]\r\n1920=40\r\n"
        "[PitchBendBPList]\r\n1920=-100\r\n2400=100\r\n"
        "[PitchBendSensBPList]\r\n1920=2\r\n"
        "[PortamentoTimingBPList]\r\n1000=50\r\n4800=70\r\n"
        "[OpeningBPList]\r\n2400=100\r\n";
    const std::string harmony = "[Common]\r\nVersion=KOR301\r\nName=\r\n"
                                "[EventList]\r\n1920=Event0\r\n[Event0]\r\nType=Anote\r\nLength=1920\r\nNote#=55\r\n"
                                "LyricHandle=Handle0\r\n[Handle0]\r\nL0=\"a\",\"a\",0.0,0,0\r\nL1=\"i\",\"i\",0.0,0,0\r\n"
                                "L2=\"u\",\"M\",0.0,0,0\r\n";
    LegacyFileBuilder legacy;
    legacy.conductor().tempo(0, 600000).timeSignature(0, 4, 2);
    std::vector<std::size_t> lastFirst(LegacyFileBuilder::pieces(lead, 100).size());
    std::iota(lastFirst.rbegin(), lastFirst.rend(), std::size_t{0});
    legacy.singingTrack(lead, 100, lastFirst).singingTrack(harmony, 50);
    ASSERT_EQ(convert(legacy), 0u) << converter_.message();
    EXPECT_EQ(converter_.status(), 0);
    EXPECT_EQ(at<CZRTempo>(master()->tempoList(), 0)->getBPM(), 10000);
    EXPECT_EQ(master()->getPreMeasure(), 1);
    EXPECT_EQ(master()->getSeqName(), L"Lead");
    EXPECT_EQ(track(1)->getName(), L"song"); // named after the file
    EXPECT_EQ(at<CZRZRUnit>(sequence()->mixer()->zrUnitList(), 0)->values().pan, 54);

    // The rest from 3360 to 4800 splits the lead into two parts.
    ASSERT_EQ(track(0)->partList()->getCount(), 2u);
    CZRMusicalPart* phrase = part(0, 0);
    EXPECT_EQ((std::vector<int>{phrase->getPosTick(), phrase->getPlayTime()}), (std::vector<int>{1920, 1440}));
    ASSERT_EQ(phrase->noteList()->getCount(), 2u);
    auto* ka = at<CZRMusicalNote>(phrase->noteList(), 0);
    EXPECT_EQ(ka->getLyric(), L"ka");
    EXPECT_EQ((std::vector<int>{ka->getPosTick(), int(ka->getPhonemeCount()), ka->getVelocity()}),
              (std::vector<int>{0, 2, 64}));
    // The bend depth keeps the low byte of 300; a length of -1 is 255, capped at 100.
    EXPECT_EQ(styleValues(ka, {L"bendDep", L"bendLen", L"risePort", L"fallPort", L"decay", L"opening", L"vibType"}),
              (std::vector<std::int32_t>{44, 100, 1, 0, 40, 127, 0}));
    auto* ze = at<CZRMusicalNote>(phrase->noteList(), 1);
    EXPECT_EQ(ze->getPhoneme(0), L"dz");
    EXPECT_EQ((std::vector<int>{ze->getPosTick(), ze->getPhLock()}), (std::vector<int>{480, 1}));
    EXPECT_EQ(styleValues(ze, {L"opening", L"vibType", L"vibLen"}), (std::vector<std::int32_t>{100, 2, 50}));
    CZRNodeList* depth = ze->noteSeqStyle()->elementList(L"vibDep");
    ASSERT_EQ(depth->getCount(), 2u);
    EXPECT_EQ(at<CZRNoteStyleSeqAttribElement>(depth, 0)->getPosNrm(), 32768);
    EXPECT_EQ(at<CZRNoteStyleSeqAttribElement>(depth, 1)->getPosNrm(), 49152);
    EXPECT_EQ(at<CZRNoteStyleSeqAttribElement>(depth, 1)->getElv(), 90);

    // Curves: the value in effect at the part's start, then the points inside it.
    auto controls = [&](CZRMusicalPart* p, std::int32_t type) {
        std::vector<std::pair<std::int32_t, std::int32_t>> points;
        for (IZRMutableKorObject* element : p->controlList(type)->elements()) {
            auto* control = kor::objCast<CZRMusicalControl>(element);
            points.emplace_back(control->getPosTick(), control->getValue());
        }
        return points;
    };
    using Points = std::vector<std::pair<std::int32_t, std::int32_t>>;
    EXPECT_EQ(controls(phrase, 0), (Points{{0, 64}, {80, 90}}));
    for (std::int32_t type = 1; type < 5; ++type)
        EXPECT_EQ(controls(phrase, type), (Points{{0, type * 10}})) << type;
    EXPECT_EQ(controls(phrase, 5), (Points{{0, -100}, {480, 100}}));
    EXPECT_EQ(controls(phrase, 6), (Points{{0, 2}}));
    EXPECT_EQ(portamento(phrase), std::vector<std::int32_t>{50});

    CZRMusicalPart* last = part(0, 1);
    EXPECT_EQ((std::vector<int>{last->getPosTick(), last->getPlayTime()}), (std::vector<int>{4800, 240}));
    EXPECT_EQ(controls(last, 0), (Points{{0, 90}, {200, 30}}));
    auto* singer = at<CZRMusicalSinger>(last->singerList(), 0);
    EXPECT_EQ((std::vector<int>{singer->getPosTick(), singer->values().vBS, singer->values().vPC}),
              (std::vector<int>{0, 1, 3}));
    EXPECT_EQ(last->singerList()->getCount(), 1u);
    EXPECT_EQ(portamento(last), std::vector<std::int32_t>{70});

    // Three lyrics on one event sing one after the other in equal shares.
    CZRMusicalPart* second = part(1, 0);
    EXPECT_EQ(second->getPosTick(), 1920);
    ASSERT_EQ(second->noteList()->getCount(), 3u);
    auto* u = at<CZRMusicalNote>(second->noteList(), 2);
    EXPECT_EQ((std::vector<int>{u->getPosTick(), u->getDurTick()}), (std::vector<int>{1280, 640}));
    EXPECT_EQ(u->getPhoneme(0), L"M");
    EXPECT_EQ(second->controlList(0)->getCount(), 0u);
}
