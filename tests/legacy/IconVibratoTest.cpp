#include "legacy/IconVibrato.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace {

using Curve = std::vector<tagBreakPoint>;

class IconVibratoFile : public ::testing::Test {
protected:
    std::wstring write(const std::string& name, const std::string& text) {
        folder_.write(name, text);
        return folder_.wide(name);
    }

    kor::test::TempDir folder_;
};

} // namespace

TEST_F(IconVibratoFile, LoadsCaptionLengthAndCurves) {
    CIconVibrato vibrato;
    ASSERT_TRUE(vibrato.load(
        write("normal.aic", "[Common]\nCaption=Normal ; the usual one\n[Parameter]\n"
                            "Length=320\nStartDepth=64\nDepthBPNum=3\nDepthBPX=0.0, 0.5, 1.0\n"
                            "DepthBPY=64, 100, 0\nStartRate=50\nRateBPNum=2\n"
                            "RateBPX=0.25,0.75,0.9\nRateBPY=70000,-1,5\n")));
    EXPECT_EQ(vibrato.caption(), L"Normal");
    EXPECT_EQ(vibrato.length(), 320);
    EXPECT_EQ(vibrato.startDepth(), 64);
    EXPECT_EQ(vibrato.depthCurve(), (Curve{{0, 64}, {5000, 100}, {10000, 0}}));
    EXPECT_EQ(vibrato.startRate(), 50);
    // The count limits the points; y keeps its low 16 bits (70000 = 0x11170).
    EXPECT_EQ(vibrato.rateCurve(), (Curve{{2500, 4464}, {7500, -1}}));
}

TEST_F(IconVibratoFile, EndsCurvesAtBadPointsAndClampsStarts) {
    CIconVibrato vibrato;
    ASSERT_TRUE(
        vibrato.load(write("wide.aic", "[Common]\nArticulation=Wide\n[Parameter]\nLength=0\n"
                                       "StartDepth=200\nDepthBPNum=4\nDepthBPX=0.2,0.6,1.5,0.8\n"
                                       "DepthBPY=1,2,3,4\nStartRate=-5\nRateBPNum=3\n"
                                       "RateBPX=0.1,0.2,0.3\nRateBPY=9\n")));
    EXPECT_EQ(vibrato.caption(), L"Wide"); // "Caption" is missing
    EXPECT_EQ(vibrato.length(), CIconObject::kDefaultLength);
    EXPECT_EQ(vibrato.startDepth(), 127);
    EXPECT_EQ(vibrato.depthCurve(), (Curve{{2000, 1}, {6000, 2}}));
    EXPECT_EQ(vibrato.startRate(), 0);
    EXPECT_EQ(vibrato.rateCurve(), (Curve{{1000, 9}})); // the Y list ran out
}

TEST_F(IconVibratoFile, FindsTheArticulationFileBesideTheItem) {
    std::wstring aic = write("Normal.aic", "[Common]\nCaption=N\n");
    std::wstring folder = folder_.wide();

    for (const wchar_t* item : {L"/Normal.dat", L"/Normal.aic", L"\\Normal"})
        EXPECT_EQ(kor::findArticulationFile(folder + item), aic) << testing::PrintToString(item);
    EXPECT_EQ(kor::findArticulationFile(folder + L"/Other.dat"), std::nullopt);
    std::filesystem::create_directory(folder_.path() + "/Folder.aic");
    EXPECT_EQ(kor::findArticulationFile(folder + L"/Folder.dat"), std::nullopt);
}

TEST(IconVibratoCurve, ReadsPositionsLikeTheRuntimeAndStopsAtAbsurdOnes) {
    struct Row {
        const wchar_t* xs;
        const wchar_t* ys;
        Curve expected;
    };
    const Row rows[] = {
        {L"+0.5, .25e1x, 1e-2", L"1,2,3", {{5000, 1}}}, // 2.5 ends the curve
        {L"abc, 0.3", L"7, 8", {{0, 7}, {3000, 8}}},    // unreadable reads as 0
        {L"0.1, 1e39, 0.2", L"1,2,3", {{1000, 1}}},     // beyond float: ends
        {L"0.1, 1e400", L"1,2", {{1000, 1}}},           // beyond double: ends
        {L"-1e300, 0.1", L"1,2", {}},                   // far below zero: ends
        {L"-0.25", L"-32768", {{-2500, -32768}}},
        {L"0.1234567890123456789", L"1", {{1234, 1}}}, // cut to 15 characters
    };
    for (const Row& row : rows) {
        Curve curve;
        kor::readBreakPoints(10, row.xs, row.ys, curve);
        EXPECT_EQ(curve, row.expected) << row.xs;
    }
}
