#include "model/MusicalPart.h"

#include "support/SongObjects.h"
#include "model/StylePluginAttribInfo.h"

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
    // The note before the part's start stays, for its own repair to refuse.
    EXPECT_EQ(bare.part->noteList()->getCount(), 3u);
    EXPECT_EQ(bare.part->controlList(2)->getCount(), 1u);
    EXPECT_EQ(bare.part->getDurTick(), 3000); // the control ends later than the last note

    bare.part->controlList(2)->clear();
    bare.part->setEdited();
    bare.part->clearEdited();
    EXPECT_EQ(bare.part->getDurTick(), 2400);
    EXPECT_EQ(bare.part->getFlags() & ZR_FLAG_EDITED, 0u);
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
