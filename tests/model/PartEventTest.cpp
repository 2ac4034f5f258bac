#include "model/MusicalControl.h"
#include "support/SongObjects.h"

#include "support/TestLeaf.h"

#include <korman/ErrorCodes.h>

#include <gtest/gtest.h>

namespace {

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
