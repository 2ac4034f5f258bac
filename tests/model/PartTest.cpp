#include "model/MusicalPart.h"

#include "model/MusicalControl.h"
#include "model/MusicalNote.h"
#include "model/MusicalSinger.h"
#include "model/ProsodyElement.h"
#include "model/ProsodyPart.h"
#include "model/ProsodyPhoneme.h"
#include "model/ProsodyVoice.h"
#include "model/StylePluginAttribInfo.h"
#include "model/WAVPart.h"
#include "model/WAVTrack.h"

#include "support/TestSong.h"

#include <korman/ErrorCodes.h>

#include <gtest/gtest.h>

namespace {

constexpr std::uint32_t kFail = 0x8000;

template <class T, class Values> T* make(TestDocument& doc, const Values& values) {
    return kor::createObject<T>(doc.context, ZR_NO_OBJ_ID, values);
}

// A bare musical part with a list of each kind the test asks for.
struct Bare {
    TestDocument doc;
    CZRMusicalPart* part = make<CZRMusicalPart>(doc, ZRPartValues{0, 480, L"p", L""});

    CZRNodeList* singers() {
        if (part->singerList() == nullptr) {
            EXPECT_TRUE(part->setSingerList(doc.list(8)));
        }
        return part->singerList();
    }
    void singerAt(std::int32_t tick) {
        EXPECT_TRUE(
            singers()->append(make<CZRMusicalSinger>(doc, ZRMusicalSingerValues{tick, 0, 0})));
    }
    std::uint32_t correct() { return part->correct(doc.table, doc.context); }
};

} // namespace

TEST(ZRTrack, TrackNumberAndPartsAreUnrepairable) {
    TestDocument doc;
    auto* track = make<CZRZRTrack>(doc, ZRZRTrackValues{L"t", L"", 16});
    EXPECT_EQ(track->validate(), ZR_E_INVALID_TRACK_ID);
    EXPECT_EQ(track->correct(doc.table, doc.context), ZR_E_INVALID_TRACK_ID | kFail);
    track->setTrackNo(15);
    EXPECT_EQ(track->validate(), 0u); // no part list is valid
    ASSERT_TRUE(track->setPartList(doc.list(18)) && track->partList()->append(doc.leaf(0)));
    EXPECT_EQ(track->validate(), ZR_E_PART_IS_NULL);
    EXPECT_EQ(track->correct(doc.table, doc.context), ZR_E_PART_IS_NULL | kFail);

    auto* wavTrack = kor::createObject<CZRWAVTrack>(doc.context, ZR_NO_OBJ_ID);
    ASSERT_TRUE(wavTrack->setWAVPartList(doc.list(21)) &&
                wavTrack->wavPartList()->append(make<CZRMusicalPart>(doc, ZRPartValues{})));
    EXPECT_EQ(wavTrack->validate(), 0u);
}

TEST(MusicalPart, SharedPartChecksRunLast) {
    Bare bare;
    bare.singerAt(0);
    bare.part->part().setPlayTime(30);
    EXPECT_EQ(bare.part->validate(), ZR_E_INVALID_PART_PLAY_TIME);
    EXPECT_EQ(bare.correct(), 0u); // raised without reporting a change
    EXPECT_EQ(bare.part->getPlayTime(), 60);

    bare.part->part().setPosTick(-1);
    bare.singers()->clear();
    EXPECT_EQ(bare.part->validate(), ZR_E_INVALID_SINGER_NUMBER);
    EXPECT_EQ(bare.correct(), ZR_E_INVALID_PART_POSITION | kFail);
    EXPECT_EQ(bare.part->getControlList(7), nullptr);
    EXPECT_EQ(bare.part->getControlList(-1), nullptr);
}

TEST(MusicalPart, CorrectGivesAnEmptySingerListTheDefaultSinger) {
    kor::setDefaultSinger(3, 5);
    Bare bare;
    EXPECT_EQ(bare.part->validate(), ZR_E_INVALID_SINGER_NUMBER);
    EXPECT_EQ(bare.correct(), 1u);
    kor::setDefaultSinger(0, 0);
    ASSERT_NE(bare.part->singerList(), nullptr);
    ASSERT_EQ(bare.part->singerList()->getCount(), 1u);
    const auto* singer = kor::objCast<CZRMusicalSinger>(bare.part->singerList()->elementAt(0));
    ASSERT_NE(singer, nullptr);
    EXPECT_EQ(singer->values().posTick, 0);
    EXPECT_EQ(singer->values().vBS * 1000 + singer->values().vPC, 3005);

    Bare late;
    late.singerAt(480);
    late.singerAt(480);
    late.singerAt(960);
    EXPECT_EQ(late.part->validate(), ZR_E_SINGERS_ARE_DUPLICATED);
    EXPECT_EQ(late.correct(), 1u);
    EXPECT_EQ(late.singers()->getCount(), 2u);
    EXPECT_EQ(late.singers()->elementAt(0)->getSortKey(), 0);
    EXPECT_EQ(late.part->validate(), 0u);
}

TEST(MusicalPart, CorrectDropsBadEventsAndDerivesTheLength) {
    Bare bare;
    bare.singerAt(0);
    ASSERT_TRUE(bare.part->setNoteList(bare.doc.list(4)) &&
                bare.part->setControlList(2, bare.doc.list(9)) &&
                bare.part->setPhraseStyleList(L"A", bare.doc.list(10)));
    for (std::int32_t tick : {-10, 960, 1920})
        EXPECT_TRUE(bare.part->noteList()->append(make<CZRMusicalNote>(
            bare.doc, ZRMusicalNoteValues{tick, 480, 60, 64, 0, L"a", {L"a"}})));
    for (std::int32_t tick : {3000, 3000})
        EXPECT_TRUE(bare.part->controlList(2)->append(
            make<CZRMusicalControl>(bare.doc, ZRMusicalControlValues{tick, 2, 10})));
    EXPECT_TRUE(kor::findMapList(bare.part->phraseStyleLists(), L"A")->append(bare.doc.leaf(5)));
    EXPECT_EQ(bare.part->validate(), ZR_E_STYLE_CONTROL_IS_NULL);
    EXPECT_EQ(bare.correct(), ZR_E_STYLE_CONTROL_IS_NULL | kFail);

    EXPECT_TRUE(bare.part->setPhraseStyleList(L"A", nullptr));
    EXPECT_EQ(bare.part->validate(), ZR_E_MUSICAL_CONTROLS_ARE_DUPLICATED);
    EXPECT_EQ(bare.correct(), 1u);
    EXPECT_EQ(bare.part->noteList()->getCount(), 2u);
    EXPECT_EQ(bare.part->controlList(2)->getCount(), 1u);
    EXPECT_EQ(bare.part->getDurTick(), 3000); // the control ends later than the last note

    bare.part->controlList(2)->clear();
    bare.part->setEdited();
    bare.part->clearEdited();
    EXPECT_EQ(bare.part->getDurTick(), 2400);
    EXPECT_EQ(bare.part->getFlags() & ZR_FLAG_EDITED, 0u);
}

TEST(MusicalPart, BuilderGivesTheDefaultStyle) {
    TestDocument doc;
    const kor::VVoiceTable table{{{2, 7}, ZRVVoiceLib{2, 7, L"", L"v", {}}}};
    ZRVVoiceLib known{2, 7, L"", L"v", {}};
    ZRVVoiceLib unknown{2, 8, L"", L"v", {}};
    struct Case {
        std::int32_t playTime, expectedPlayTime;
        const ZRVVoiceLib& voice;
        std::int32_t vBS, vPC;
    };
    for (const Case& c :
         {Case{0, 60, known, 2, 7}, Case{60, 60, unknown, 0, 0}, Case{61, 61, known, 2, 7}}) {
        CZRMusicalPart* part =
            kor::buildMusicalPart(doc.context, {480, c.playTime, L"n", L"c"}, table, c.voice);
        ASSERT_NE(part, nullptr);
        EXPECT_EQ(part->getPlayTime(), c.expectedPlayTime);
        const auto* singer = kor::objCast<CZRMusicalSinger>(part->singerList()->elementAt(0));
        ASSERT_NE(singer, nullptr);
        EXPECT_EQ(singer->values().vBS, c.vBS);
        EXPECT_EQ(singer->values().vPC, c.vPC);
    }

    CZRMusicalPart* part = kor::buildMusicalPart(doc.context, {0, 480, L"", L""}, {}, known);
    ASSERT_NE(part, nullptr);
    const CZRStylePlugin* plugin = part->stylePlugin();
    EXPECT_EQ(plugin->getID(), L"ACA9C502-A04B-42b5-B2EB-5CEA36D16FCE");
    EXPECT_EQ(plugin->getName(), L"TORIVEL2 Compatible Style");
    EXPECT_EQ(plugin->getVersion(), L"3.0.0.1");
    std::vector<std::uint32_t> counts;
    for (IZRNodeList* list : {plugin->getPartAttribInfoList(), plugin->getReservedAttribInfoList(),
                              plugin->getControlAttribInfoList(), plugin->getNoteAttribInfoList(),
                              plugin->getNoteSeqAttribInfoList()})
        counts.push_back(list->getCount());
    EXPECT_EQ(counts, (std::vector<std::uint32_t>{7, 0, 1, 9, 2}));
    const auto* vibType =
        dynamic_cast<const IZRStylePluginAttribInfo*>(plugin->getNoteAttribInfoList()->getAt(7));
    ASSERT_NE(vibType, nullptr);
    EXPECT_EQ(vibType->getAttribID(), L"vibType");
    EXPECT_EQ(vibType->getValueRange()->maxValue * 100 + vibType->getValueRange()->defaultValue,
              1601);

    std::vector<std::wstring> ids;
    part->partStyle()->getIDs(ids);
    EXPECT_EQ(ids.size(), 7u);
    std::int32_t opening = 0;
    EXPECT_TRUE(part->partStyle()->getValue(L"opening", opening));
    EXPECT_EQ(opening, 127);
    part->getStyleControlIDs(ids);
    EXPECT_EQ(ids, std::vector<std::wstring>{L"POR"});
    EXPECT_EQ(part->getStyleControlList(L"POR")->getListTypeEx(), 0);
    EXPECT_EQ(part->noteList()->getCount(), 0u);
    for (std::int32_t type = 0; type < 7; ++type)
        EXPECT_EQ(part->controlList(type)->getListTypeEx(), type);
    EXPECT_EQ(part->validate(), 0u);
}

TEST(ProsodyPart, PhonemesMayTouchButNotOverlap) {
    TestDocument doc;
    auto* part = make<CZRProsodyPart>(doc, ZRPartValues{0, 480, L"", L""});
    EXPECT_EQ(part->validate(), ZR_E_INVALID_PROSODY_VOICE_NUMBER);
    EXPECT_EQ(part->correct(doc.table, doc.context), 1u); // voice and both curves created
    EXPECT_EQ(part->voiceList()->getCount() + part->elementList(0)->getCount() +
                  part->elementList(1)->getCount(),
              3u);
    EXPECT_EQ(part->validate(), 0u);

    ASSERT_TRUE(part->setPhonemeList(doc.list(11)));
    auto* first = make<CZRProsodyPhoneme>(doc, ZRProsodyPhonemeValues{0, 6554, L"a"});
    auto* second = make<CZRProsodyPhoneme>(doc, ZRProsodyPhonemeValues{6554, 6554, L"i"});
    ASSERT_TRUE(part->phonemeList()->append(first) && part->phonemeList()->append(second));
    EXPECT_EQ(part->validate(), 0u);
    second->values().posSec = 6553;
    EXPECT_EQ(part->validate(), ZR_E_PROSODY_PHONEMES_ARE_DUPLICATED);
    EXPECT_EQ(part->getDurSec(), 6553 + 6554);
    EXPECT_EQ(part->getControlList(7), nullptr);
}

TEST(ProsodyPart, TickLengthFollowsTheSequenceTempo) {
    TestSong song;
    CZRZRTrack* track = song.addTrack(0);
    ASSERT_EQ(kor::correctTree(*song.root, song.doc.table, song.doc.context).code, 0u);
    auto* part = make<CZRProsodyPart>(song.doc, ZRPartValues{480, 480, L"", L""});
    ASSERT_TRUE(track->partList()->append(part) && part->setVoiceList(song.doc.list(12)));
    EXPECT_TRUE(part->voiceList()->append(
        make<CZRProsodyVoice>(song.doc, ZRProsodyVoiceValues{65536, 0, 0})));
    EXPECT_EQ(part->getDurSec(), 65536);
    EXPECT_EQ(part->getDurTick(), 960); // one second at 120 BPM

    auto* wav = make<CZRWAVPart>(song.doc,
                                 ZRWAVPartValues{{0, 60, L"", L""}, 48000, 16, 1, L"x.wav", 32768});
    ASSERT_TRUE(song.sequence->seTrack()->wavPartList()->append(wav));
    wav->setEdited();
    wav->clearEdited();
    EXPECT_EQ(wav->getDurTick(), 480);
}

TEST(WAVPart, ValidateChecksInOrder) {
    struct Case {
        std::int32_t rate, reso, channels;
        std::wstring path;
        std::int32_t posTick;
        std::uint32_t validate, correct;
    };
    const Case cases[] = {
        {44100, 16, 2, L"a.wav", 0, 0, 0},
        {22050, 8, 3, L"", -1, ZR_E_INVALID_WAVE_SAMPLING_RATE, ZR_E_INVALID_PART_POSITION | kFail},
        {22050, 16, 2, L"a.wav", 0, ZR_E_INVALID_WAVE_SAMPLING_RATE, 0x83079d01},
        {96000, 24, 2, L"a.wav", 0, ZR_E_INVALID_WAVE_SAMPLING_RESOLUTION, 0x83079d02},
        {48000, 16, 0, L"a.wav", 0, ZR_E_INVALID_WAVE_CHANNELS, 0x83079d03},
        {48000, 16, 1, std::wstring(261, L'a'), 0, ZR_E_INVALID_WAVE_FILE_PATH, 0x83079d04},
        {48000, 16, 1, std::wstring(260, L'a'), -1, ZR_E_INVALID_PART_POSITION,
         ZR_E_INVALID_PART_POSITION | kFail},
    };
    for (const Case& c : cases) {
        TestDocument doc;
        auto* part = make<CZRWAVPart>(
            doc, ZRWAVPartValues{{c.posTick, 60, L"", L""}, c.rate, c.reso, c.channels, c.path, 0});
        SCOPED_TRACE(c.rate);
        EXPECT_EQ(part->validate(), c.validate);
        EXPECT_EQ(part->correct(doc.table, doc.context), c.correct);
    }
}

TEST(WAVPart, RootedPaths) {
    TestDocument doc;
    auto* part = make<CZRWAVPart>(
        doc, ZRWAVPartValues{{0, 60, L"n", L"c"}, 44100, 16, 2, L"/w/a.wav", 65536});
    EXPECT_TRUE(part->isRootedPath());
    for (const wchar_t* path : {L"\\w\\a.wav", L"C:\\w\\a.wav", L"/a.wav"}) {
        part->setFilePath(path);
        EXPECT_TRUE(part->isRootedPath()) << path;
    }
    for (const wchar_t* path : {L"a.wav", L"w/a.wav", L"C:a.wav"}) {
        part->setFilePath(path);
        EXPECT_TRUE(part->isRelativePath()) << path;
    }
}
