#include "model/MasterTrack.h"

#include "model/Tempo.h"
#include "model/TimeSig.h"

#include "support/TestLeaf.h"

#include <korman/ErrorCodes.h>

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <vector>

namespace {

struct Sig {
    std::int32_t posMes, numerator, denominator;
};
struct Bpm {
    std::int32_t posTick, bpm;
};

// A master track at 480 ticks per quarter with one pre-measure and the given lists.
struct Track {
    TestDocument doc;
    CZRMasterTrack* master = nullptr;

    Track(std::vector<Sig> sigs, std::vector<Bpm> tempos) {
        master = kor::createObject<CZRMasterTrack>(doc.context, ZR_NO_OBJ_ID,
                                                   ZRMasterTrackValues{L"s", L"c", 480, 1});
        EXPECT_TRUE(master->setTimeSigList(doc.list(2)) && master->setTempoList(doc.list(3)));
        for (const Sig& s : sigs)
            EXPECT_TRUE(master->timeSigList()->append(kor::createObject<CZRTimeSig>(
                doc.context, ZR_NO_OBJ_ID, ZRTimeSigValues{s.posMes, s.numerator, s.denominator})));
        for (const Bpm& t : tempos)
            EXPECT_TRUE(master->tempoList()->append(kor::createObject<CZRTempo>(
                doc.context, ZR_NO_OBJ_ID, ZRTempoValues{t.posTick, t.bpm})));
    }

    std::uint32_t correct() { return master->correct(doc.table, doc.context); }
};

} // namespace

TEST(MasterTrack, MeasureToTickFollowsTheSignatures) {
    Track fourFour({{0, 4, 4}}, {{0, 12000}});
    EXPECT_EQ(fourFour.master->measureToTick(1), 1920);
    EXPECT_EQ(fourFour.master->measureToTick(3), 5760);
    EXPECT_EQ(fourFour.master->measureToTick(0), 0);
    EXPECT_EQ(fourFour.master->measureToTick(-2), 0);
    EXPECT_EQ(fourFour.master->getPreMeasureTick(), 1920);

    Track change({{0, 4, 4}, {2, 3, 4}, {5, 6, 8}}, {{0, 12000}});
    EXPECT_EQ(change.master->measureToTick(3), 1920 * 2 + 1440);
    EXPECT_EQ(change.master->measureToTick(2), 3840); // the change at 2 does not count yet
    EXPECT_EQ(change.master->measureToTick(1), 1920); // signatures beyond do not contribute
    EXPECT_EQ(change.master->measureToTick(6), 3840 + 3 * 1440 + 1440);

    Track late({{1, 4, 4}}, {{0, 12000}});
    EXPECT_EQ(late.master->measureToTick(3), 0);
    Track none({}, {{0, 12000}});
    EXPECT_EQ(none.master->measureToTick(3), 0);
}

TEST(MasterTrack, TickToSecondsAcrossTempoChangesRoundingHalfTicksUp) {
    Track one({{0, 4, 4}}, {{0, 12000}});
    EXPECT_EQ(one.master->tickToSec(480), 32768);
    EXPECT_EQ(one.master->secToTick(65536), 960);
    EXPECT_EQ(one.master->tickToSec(1), 68); // 68.27 truncated
    EXPECT_EQ(one.master->tickToSec(-1), std::nullopt);
    EXPECT_EQ(one.master->secToTick(-1), std::nullopt);

    Track two({{0, 4, 4}}, {{0, 12000}, {1920, 6000}});
    EXPECT_EQ(two.master->tickToSec(1920), 131072); // the change starts its own segment
    EXPECT_EQ(two.master->tickToSec(2400), 196608);
    EXPECT_EQ(two.master->secToTick(196608), 2400);
    EXPECT_EQ(two.master->secToTick(65536), 960);
    EXPECT_EQ(kor::secDurationToTicks(two.master, 1920, 65536), 480);
    EXPECT_EQ(kor::secDurationToTicks(two.master, 1440, 65536), 720); // spans the change
    EXPECT_EQ(kor::secDurationToTicks(two.master, 0, -1), std::nullopt);
    EXPECT_EQ(kor::secDurationToTicks(nullptr, 0, 0), std::nullopt);

    // At 128 BPM one tick is 64 units of 16.16 time, so 32 is exactly half a tick: rounded up.
    Track track({{0, 4, 4}}, {{0, 12800}});
    EXPECT_EQ(track.master->secToTick(31), 0);
    EXPECT_EQ(track.master->secToTick(32), 1);
    EXPECT_EQ(track.master->secToTick(96), 2);
}

TEST(MasterTrack, ConversionsNeedResolution480AndATempoAtZero) {
    Track late({{0, 4, 4}}, {{480, 12000}});
    EXPECT_EQ(late.master->validate(), 0u);
    EXPECT_EQ(late.master->tickToSec(0), std::nullopt);
    EXPECT_EQ(late.correct(), 1u);
    EXPECT_EQ(late.master->tickToSec(480), 32768);

    Track fine({{0, 4, 4}}, {{0, 12000}});
    fine.master->setResolution(960);
    EXPECT_EQ(fine.master->tickToSec(480), std::nullopt);
    EXPECT_EQ(fine.master->secToTick(0), std::nullopt);
    EXPECT_EQ(fine.correct(), 1u);
    EXPECT_EQ(fine.master->getResolution(), 480);
    EXPECT_EQ(fine.master->tickToSec(480), 32768);
}

TEST(MasterTrack, HostConversionsAnswerCodesAndMeasurePositions) {
    // 4/4 for two measures, then 6/8: six eighth-note beats of 240 ticks, 1440 ticks a measure.
    Track track({{0, 4, 4}, {2, 6, 8}}, {{0, 12000}, {1920, 6000}});
    const IZRMasterTrack& host = *track.master;
    std::int32_t sec = -1;
    EXPECT_EQ(host.tickToSec(2400, sec), 0u);
    EXPECT_EQ(sec, 196608);
    double seconds = 0;
    EXPECT_EQ(host.tickToSeconds(1, seconds), 0u);
    EXPECT_DOUBLE_EQ(seconds, 1.0 / 960); // unrounded, where 16.16 gives 68/65536
    std::int32_t tick = -1;
    EXPECT_EQ(host.secondsToTick(2.5, tick), 0u);
    EXPECT_EQ(tick, 2160);
    EXPECT_EQ(host.secToTick(196608, tick), 0u);
    EXPECT_EQ(tick, 2400);

    ZRMeasurePosition at;
    EXPECT_EQ(host.tickToPosition(3840 + 1440 + 250, at), 0u);
    EXPECT_EQ(at.measure, 3);
    EXPECT_EQ(at.beat, 1); // eighth-note beats of 240 ticks
    EXPECT_EQ(at.tick, 10);
    EXPECT_EQ(host.positionToTick({3, 1, 10}, tick), 0u);
    EXPECT_EQ(tick, 3840 + 1440 + 250);
    EXPECT_EQ(host.tickToPosition(1919, at), 0u);
    EXPECT_EQ(at.measure, 0);
    EXPECT_EQ(at.beat, 3);
    EXPECT_EQ(at.tick, 479);

    // Failures leave the output as it was.
    tick = 7;
    EXPECT_EQ(host.positionToTick({3, 6, 0}, tick), ZR_E_INVALID_PARAMETER); // 6/8 has beats 0-5
    EXPECT_EQ(host.positionToTick({1, 0, 480}, tick), ZR_E_INVALID_PARAMETER);
    EXPECT_EQ(host.positionToTick({1 << 30, 0, 0}, tick), ZR_E_INVALID_PARAMETER);
    EXPECT_EQ(host.secondsToTick(-0.5, tick), ZR_E_INVALID_PARAMETER);
    EXPECT_EQ(host.secondsToTick(std::nan(""), tick), ZR_E_INVALID_PARAMETER);
    EXPECT_EQ(host.tickToSec(-1, sec), ZR_E_INVALID_PARAMETER);
    EXPECT_EQ(host.tickToSec(2000000000, sec), ZR_E_INVALID_PARAMETER); // beyond 32767 s
    EXPECT_EQ(tick, 7);
    EXPECT_EQ(sec, 196608);

    Track late({{1, 4, 4}}, {{480, 12000}});
    EXPECT_EQ(late.master->tickToSeconds(0, seconds), ZR_E_INVALID_TEMPO_NUMBER);
    EXPECT_EQ(late.master->tickToPosition(0, at), ZR_E_INVALID_TIME_SIGNATURE_NUMBER);
    late.master->setResolution(960);
    EXPECT_EQ(late.master->secToTick(0, tick), ZR_E_INVALID_TIME_RESOLUTION);
    EXPECT_EQ(late.master->positionToTick({0, 0, 0}, tick), ZR_E_INVALID_TIME_RESOLUTION);
}

TEST(MasterTrack, ValidateChecksInOrder) {
    struct Case {
        const char* name;
        void (*arrange)(Track&);
        std::uint32_t code;
    };
    const Case cases[] = {
        {"valid", [](Track&) {}, 0},
        {"resolution",
         [](Track& t) {
             t.master->setResolution(960);
             t.master->setPreMeasure(0);
         },
         ZR_E_INVALID_TIME_RESOLUTION},
        {"pre-measure 0", [](Track& t) { t.master->setPreMeasure(0); }, ZR_E_INVALID_PRE_MEASURE},
        {"pre-measure 9", [](Track& t) { t.master->setPreMeasure(9); }, ZR_E_INVALID_PRE_MEASURE},
        {"no signatures", [](Track& t) { EXPECT_TRUE(t.master->setTimeSigList(nullptr)); },
         ZR_E_INVALID_TIME_SIGNATURE_NUMBER},
        {"empty signatures", [](Track& t) { t.master->timeSigList()->clear(); },
         ZR_E_INVALID_TIME_SIGNATURE_NUMBER},
        {"signature duplicated",
         [](Track& t) { EXPECT_TRUE(t.master->timeSigList()->append(t.doc.leaf(2))); },
         ZR_E_TIME_SIGNATURE_IS_NULL},
        {"no tempos", [](Track& t) { EXPECT_TRUE(t.master->setTempoList(nullptr)); },
         ZR_E_INVALID_TEMPO_NUMBER},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Track track({{0, 4, 4}, {2, 3, 4}}, {{0, 12000}, {960, 9000}});
        c.arrange(track);
        EXPECT_EQ(track.master->validate(), c.code);
    }
    EXPECT_EQ(Track({{0, 4, 4}, {0, 3, 4}}, {{0, 12000}}).master->validate(),
              ZR_E_TIME_SIGNATURES_ARE_DUPLICATED);
    EXPECT_EQ(Track({{0, 4, 4}, {3, 3, 4}, {2, 4, 4}}, {{0, 12000}}).master->validate(),
              ZR_E_TIME_SIGNATURES_ARE_DUPLICATED);
    EXPECT_EQ(Track({{0, 4, 4}}, {{0, 12000}, {0, 9000}}).master->validate(),
              ZR_E_TEMPOS_ARE_DUPLICATED);
}
