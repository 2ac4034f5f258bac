#include "model/MusicalControl.h"
#include "model/MusicalSinger.h"
#include "model/ProsodyControl.h"
#include "model/ProsodyElement.h"
#include "model/ProsodyPhoneme.h"
#include "model/ProsodyVoice.h"
#include "model/Sequence.h"
#include "model/StyleControl.h"
#include "model/VVoice.h"

#include "support/TestLeaf.h"

#include <korman/ErrorCodes.h>

#include <gtest/gtest.h>

namespace {

constexpr std::uint32_t kFail = 0x8000;

// A sequence whose VVoice table holds `voices`, and a list under it to hang events in (any
// container below the sequence will do for voice resolution).
struct VoiceTable {
    TestDocument doc;
    CZRNodeList* events = nullptr;

    explicit VoiceTable(std::initializer_list<std::pair<int, int>> voices) {
        auto* sequence = kor::createObject<CZRSequence>(doc.context, ZR_NO_OBJ_ID);
        CZRNodeList* vvoices = doc.list(25);
        events = doc.list(8);
        EXPECT_TRUE(sequence->setVVoiceList(vvoices) && sequence->setZRTrackList(events));
        for (auto [bs, pc] : voices)
            EXPECT_TRUE(vvoices->append(kor::createObject<CZRVVoice>(
                doc.context, ZR_NO_OBJ_ID, ZRVVoiceValues{bs, pc, L"BCNFCY43LB2LZCD4", L"v", {}})));
    }

    template <class Event, class Values> Event* add(const Values& values) {
        auto* event = kor::createObject<Event>(doc.context, ZR_NO_OBJ_ID, values);
        EXPECT_TRUE(events->append(event));
        return event;
    }
};

} // namespace

TEST(VoiceResolution, KeepsAKnownPairElseFollowsTheBankElseTheFirstVoice) {
    VoiceTable known({{3, 1}, {3, 5}});
    auto* singer = known.add<CZRMusicalSinger>(ZRMusicalSingerValues{0, 3, 5});
    EXPECT_EQ(singer->getVBS(), 3);
    EXPECT_EQ(singer->getVPC(), 5);

    VoiceTable sameBank({{0, 0}, {3, 1}});
    singer = sameBank.add<CZRMusicalSinger>(ZRMusicalSingerValues{0, 3, 5});
    EXPECT_EQ(singer->getVPC(), 1);
    EXPECT_EQ(singer->values().vPC, 1); // written back

    VoiceTable other({{0, 0}});
    auto* voice = other.add<CZRProsodyVoice>(ZRProsodyVoiceValues{0, 3, 5});
    EXPECT_EQ(voice->getVBS(), 0);
    EXPECT_EQ(voice->getVPC(), 0);

    VoiceTable empty({});
    voice = empty.add<CZRProsodyVoice>(ZRProsodyVoiceValues{0, 3, 5});
    EXPECT_EQ(voice->getVPC(), 5);
    EXPECT_EQ(CZRMusicalSinger(1, {0, 9, 9}).getVBS(), 9); // outside any sequence
}

TEST(PartEvents, ValidateAndCorrectCodes) {
    TestDocument doc;
    struct Case {
        std::unique_ptr<IZRMutableKorObject> event;
        std::uint32_t validateCode;
        std::uint32_t correctCode;
    };
    Case cases[] = {
        {std::make_unique<CZRMusicalSinger>(1, ZRMusicalSingerValues{-1, 200, 0}),
         ZR_E_INVALID_SINGER_POSITION, 0x83078b01},
        {std::make_unique<CZRMusicalSinger>(1, ZRMusicalSingerValues{0, 200, 0}),
         ZR_E_INVALID_SINGER_BANK_SELECT, 0},
        {std::make_unique<CZRMusicalSinger>(1, ZRMusicalSingerValues{0, 0, -1}),
         ZR_E_INVALID_SINGER_PROGRAM_CHANGE, 0},
        {std::make_unique<CZRMusicalControl>(1, ZRMusicalControlValues{-1, 9, 0}),
         ZR_E_INVALID_MUSICAL_CONTROL_POSITION, 0x83078d01},
        {std::make_unique<CZRStyleControl>(1, ZRStyleControlValues{0, L"", 0}),
         ZR_E_INVALID_STYLE_CONTROL_ID, 0x83078f02},
        {std::make_unique<CZRStyleControl>(1, ZRStyleControlValues{-1, L"POR", 0}),
         ZR_E_INVALID_STYLE_CONTROL_POSITION, 0x83078f01},
        {std::make_unique<CZRProsodyPhoneme>(1, ZRProsodyPhonemeValues{-1, 100, L""}),
         ZR_E_INVALID_PROSODY_PHONEME_POSITION, 0x83079101},
        {std::make_unique<CZRProsodyPhoneme>(1, ZRProsodyPhonemeValues{0, 100, L"a"}),
         ZR_E_INVALID_PROSODY_PHONEME_DURATION, 1},
        {std::make_unique<CZRProsodyPhoneme>(1, ZRProsodyPhonemeValues{0, 380, L""}),
         ZR_E_INVALID_PROSODY_PHONEME, 1},
        {std::make_unique<CZRProsodyVoice>(1, ZRProsodyVoiceValues{-1, 0, 0}),
         ZR_E_INVALID_PROSODY_VOICE_POSITION, 0x83079301},
        {std::make_unique<CZRProsodyVoice>(1, ZRProsodyVoiceValues{0, 0, 128}),
         ZR_E_INVALID_PROSODY_VOICE_PROGRAM_CHANGE, 0},
        {std::make_unique<CZRProsodyElement>(1, ZRProsodyElementValues{-1, 0}),
         ZR_E_INVALID_PROSODY_ELEMENT_POSITION, 0x83079501},
        {std::make_unique<CZRProsodyControl>(1, ZRProsodyControlValues{-1, 0, 0}),
         ZR_E_INVALID_PROSODY_CONTROL_POSITION, 0x83079701},
    };
    for (Case& c : cases) {
        EXPECT_EQ(c.event->validate(), c.validateCode) << std::hex << c.validateCode;
        EXPECT_EQ(c.event->correct(doc.table, doc.context), c.correctCode)
            << std::hex << c.validateCode;
    }
    CZRProsodyPhoneme shortOne(1, {0, 100, L""});
    EXPECT_EQ(shortOne.correct(doc.table, doc.context), 1u);
    EXPECT_EQ(shortOne.getDurSec(), 380);
    EXPECT_EQ(shortOne.getPhoneme(), L"a");
    EXPECT_EQ(shortOne.validate(), 0u);
}

TEST(MusicalControlNames, ConvertBothWaysAndRejectEverythingElse) {
    EXPECT_EQ(kor::musicalControlTypeOfName(L"PIT"), 5);
    EXPECT_EQ(kor::musicalControlTypeOfName(L"DYN"), 0);
    EXPECT_EQ(kor::musicalControlTypeOfName(L"pit"), -1);
    EXPECT_EQ(kor::musicalControlTypeOfName(L"P"), -1);
    EXPECT_EQ(kor::musicalControlTypeOfName(nullptr), -1);
    EXPECT_EQ(kor::musicalControlTypeOfShortName(L"P"), 5);
    EXPECT_EQ(kor::musicalControlTypeOfShortName(L"S"), 6);
    EXPECT_EQ(kor::musicalControlTypeOfShortName(L"PIT"), -1);
    EXPECT_EQ(kor::musicalControlTypeOfShortName(nullptr), -1);
    EXPECT_STREQ(kor::musicalControlName(6), L"PBS");
    EXPECT_STREQ(kor::musicalControlName(7), L"");
    EXPECT_STREQ(kor::musicalControlName(-1), L"");
}
