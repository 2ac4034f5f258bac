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
    int error = -2;
    auto sequence = parseSmf(bytes, error);
    EXPECT_NE(sequence, nullptr);
    return sequence && kor::readConductorTrack(*sequence, map);
}

} // namespace

TEST(ConductorTrack, ReadsHeadValuesAndChangesAtFileResolution) {
    SmfBuilder smf(1, 96);
    smf.addTrack()
        .timeSignature(0, 6, 3)
        .tempo(0, 250000)
        .tempo(96, 250000)
        .tempo(192, 2000000)
        .timeSignature(96 * 6, 6, 3)   // same signature: ignored
        .timeSignature(96 * 9, 3, 3)   // after 3 measures of 6/8 (1440 ticks each at 480)
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
