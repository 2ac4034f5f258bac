#include "legacy/ConductorTrack.h"

#include "builders/SmfBuilder.h"

#include <gtest/gtest.h>

#include <tuple>

using kor::test::parseSmf;
using kor::test::SmfBuilder;

namespace {

// Parses `smf` (which must parse) and reads its conductor track into `map`.
bool readConductor(const SmfBuilder& smf, kor::ConductorMap& map) {
    const std::string bytes = smf.bytes();
    auto sequence = parseSmf(bytes).sequence;
    EXPECT_NE(sequence, nullptr);
    return sequence && kor::readConductorTrack(*sequence, map);
}

} // namespace

TEST(ConductorTrack, ConvertsTicksTemposAndMeasureLengthsAtTheirEdges) {
    EXPECT_EQ(kor::toResolution(97, 96), 485);  // 485.0
    EXPECT_EQ(kor::toResolution(1, 960), 1);    // 0.5 rounds away from zero
    EXPECT_EQ(kor::toResolution(7, 0xE728), 7); // SMPTE ticks stay as they are
    EXPECT_EQ(kor::toResolution(kor::kLatestImportTick, 480), kor::kLatestImportTick);
    EXPECT_EQ(kor::toResolution(kor::kLatestImportTick + 1ull, 480), std::nullopt);
    EXPECT_EQ(kor::toResolution(UINT64_MAX, 96), std::nullopt); // no overflow in the product
    const std::pair<std::uint32_t, std::int32_t> tempos[] = {
        {500000, 12000}, {250000, 24000}, {2000000, 3000}, {100000, 30000}, {0, 30000},
        {3000000, 2000}, {2999999, 2000}, {2999000, 2001}, {2990000, 2007}, {476190, 12600},
    };
    for (auto [micros, bpm] : tempos)
        EXPECT_EQ(kor::tempoFromMicroseconds(micros), bpm) << micros;
    const std::tuple<int, int, int, int> measures[] = {
        {4, 4, 480, 1920}, {6, 8, 480, 1440}, {3, 8, 480, 720},
        {2, 2, 480, 1920}, {3, 1, 480, 5760}, {5, 16, 480, 600},
        {6, 8, 96, 1440},  {4, 4, 0, 0},      {0, 4, 480, 0},
    };
    for (auto [numerator, denominator, division, ticks] : measures)
        EXPECT_EQ(kor::ticksPerMeasure(numerator, denominator, division), ticks)
            << numerator << "/" << denominator << " at " << division;
}

TEST(ConductorTrack, ReadsHeadValuesAndChangesAtFileResolution) {
    SmfBuilder smf(1, 96);
    smf.addTrack()
        .timeSignature(0, 6, 3)
        .tempo(0, 250000)
        .tempo(96, 250000)
        .tempo(192, 2000000)
        .timeSignature(96 * 6, 6, 3)           // same signature: ignored
        .timeSignature(96 * 9, 3, 3)           // after 3 measures of 6/8 (1440 ticks each at 480)
        .timeSignature(96 * 9 + 96 * 3, 4, 2); // one measure of 3/8 later
    kor::ConductorMap map;
    ASSERT_TRUE(readConductor(smf, map));
    EXPECT_EQ((std::tuple(map.headBpm, map.headNumerator, map.headDenominator)),
              (std::tuple(24000, 6, 8)));
    ASSERT_EQ(map.tempos.size(), 1u);
    EXPECT_EQ((std::tuple(map.tempos[0].tick, map.tempos[0].bpm)), (std::tuple(960, 3000)));
    ASSERT_EQ(map.signatures.size(), 2u);
    EXPECT_EQ(map.signatures[0].measure, 3);
    EXPECT_EQ(map.signatures[0].denominator, 8);
    EXPECT_EQ(map.signatures[1].measure, 5); // 3/8 is 720 ticks: two measures in 1440 ticks
    EXPECT_EQ(map.signatures[1].numerator, 4);
}

TEST(ConductorTrack, DefaultsWithoutEventsAndFailsOnBrokenTrack) {
    SmfBuilder smf;
    smf.addTrack().timeSignature(0, 0, 2).noteOn(0, 0, 60, 1);
    kor::ConductorMap map;
    ASSERT_TRUE(readConductor(smf, map));
    EXPECT_EQ((std::tuple(map.headBpm, map.headNumerator, map.headDenominator)),
              (std::tuple(12000, 4, 4)));
    EXPECT_TRUE(map.tempos.empty());

    SmfBuilder broken;
    broken.addTrack().tempo(0, 400000).withoutEnd();
    EXPECT_FALSE(readConductor(broken, map));
    EXPECT_FALSE(readConductor(SmfBuilder(), map));
}
