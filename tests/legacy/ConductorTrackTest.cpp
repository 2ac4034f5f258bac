#include "legacy/ConductorTrack.h"

#include "support/SmfBuilder.h"

#include <gtest/gtest.h>

using kor::test::parseSmf;
using kor::test::SmfBuilder;

TEST(ConductorTrack, TempoRoundsAndClamps) {
    const std::pair<std::uint32_t, std::int32_t> cases[] = {
        {500000, 12000}, {250000, 24000}, {2000000, 3000}, {100000, 30000}, {0, 30000},
        {3000000, 2000}, {2999999, 2000}, {2999000, 2001}, {2990000, 2007}, {476190, 12600},
    };
    for (auto [micros, bpm] : cases)
        EXPECT_EQ(kor::tempoFromMicroseconds(micros), bpm) << micros;
}

TEST(ConductorTrack, MeasureLengthsFollowTheNoteValue) {
    EXPECT_EQ(kor::ticksPerMeasure(4, 4, 480), 1920);
    EXPECT_EQ(kor::ticksPerMeasure(6, 8, 480), 1440);
    EXPECT_EQ(kor::ticksPerMeasure(3, 8, 480), 720);
    EXPECT_EQ(kor::ticksPerMeasure(2, 2, 480), 1920);
    EXPECT_EQ(kor::ticksPerMeasure(3, 1, 480), 5760);
    EXPECT_EQ(kor::ticksPerMeasure(5, 16, 480), 600);
    EXPECT_EQ(kor::ticksPerMeasure(6, 8, 96), 1440); // scaled to 480 a quarter
    EXPECT_EQ(kor::ticksPerMeasure(4, 4, 0), 0);
}

TEST(ConductorTrack, ReadsHeadValuesAndChangesAtFileResolution) {
    SmfBuilder ordered(1, 96);
    ordered.addTrack()
        .timeSignature(0, 6, 3)
        .tempo(0, 250000)
        .tempo(96, 250000)
        .tempo(192, 2000000)
        .timeSignature(96 * 6, 6, 3)   // same signature: ignored
        .timeSignature(96 * 9, 3, 3)   // after 3 measures of 6/8 (1440 ticks each at 480)
        .timeSignature(96 * 9 + 96 * 3, 4, 2); // one measure of 3/8 later
    const std::string bytes = ordered.bytes();
    int error = -2;
    auto sequence = parseSmf(bytes, error);
    ASSERT_NE(sequence, nullptr);

    kor::ConductorMap map;
    ASSERT_TRUE(kor::readConductorTrack(*sequence, map));
    EXPECT_EQ(map.headBpm, 24000);
    EXPECT_EQ(map.headNumerator, 6);
    EXPECT_EQ(map.headDenominator, 8);
    ASSERT_EQ(map.tempos.size(), 1u);
    EXPECT_EQ(map.tempos[0].tick, 960);
    EXPECT_EQ(map.tempos[0].bpm, 3000);
    ASSERT_EQ(map.signatures.size(), 2u);
    EXPECT_EQ(map.signatures[0].measure, 3);
    EXPECT_EQ(map.signatures[0].denominator, 8);
    EXPECT_EQ(map.signatures[1].measure, 5); // 3/8 is 720 ticks: two measures in 1440 ticks
    EXPECT_EQ(map.signatures[1].numerator, 4);
}

TEST(ConductorTrack, DefaultsWithoutEventsAndFailsOnBrokenTrack) {
    SmfBuilder smf;
    smf.addTrack().timeSignature(0, 0, 2).noteOn(0, 0, 60, 1);
    const std::string bytes = smf.bytes();
    int error = -2;
    auto sequence = parseSmf(bytes, error);
    ASSERT_NE(sequence, nullptr);
    kor::ConductorMap map;
    ASSERT_TRUE(kor::readConductorTrack(*sequence, map));
    EXPECT_EQ(map.headBpm, 12000);
    EXPECT_EQ(map.headNumerator, 4);
    EXPECT_EQ(map.headDenominator, 4);
    EXPECT_TRUE(map.tempos.empty());

    SmfBuilder broken;
    broken.addTrack().tempo(0, 400000).withoutEnd();
    const std::string brokenBytes = broken.bytes();
    auto brokenSequence = parseSmf(brokenBytes, error);
    ASSERT_NE(brokenSequence, nullptr);
    EXPECT_FALSE(kor::readConductorTrack(*brokenSequence, map));
    const std::string noTracks = SmfBuilder().bytes();
    auto none = parseSmf(noTracks, error);
    ASSERT_NE(none, nullptr);
    EXPECT_FALSE(kor::readConductorTrack(*none, map));
}
