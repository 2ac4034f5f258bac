#include "interchange/ScorePerformance.h"

#include "interchange/MusicXmlScore.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace {

using kor::PerformedMeasure;

const std::string kSamples = KORMAN_MUSICXML_SAMPLES_DIR;

// A one-part score of whole-note measures, one per entry of `marks`: the bar line and sound
// elements each measure holds.
std::string score(const std::vector<std::string>& marks) {
    std::string xml = "<score-partwise><part-list><score-part id='P'/></part-list><part id='P'>";
    for (const std::string& mark : marks)
        xml += "<measure><attributes><divisions>1</divisions></attributes><note><pitch><step>C"
               "</step><octave>4</octave></pitch><duration>4</duration></note>" +
               mark + "</measure>";
    return xml + "</part></score-partwise>";
}

const std::string kForward = "<barline location='left'><repeat direction='forward'/></barline>";
const std::string kBackward = "<barline><repeat direction='backward'/></barline>";

std::string ending(const std::string& number, const std::string& type) {
    return "<barline><ending number='" + number + "' type='" + type + "'/></barline>";
}

std::string sound(const std::string& attributes) {
    return "<sound " + attributes + "/>";
}

class ScorePerformanceTest : public ::testing::Test {
protected:
    std::vector<PerformedMeasure> performed(const std::wstring& path) {
        kor::MusicXmlScore read;
        std::wstring message;
        EXPECT_EQ(kor::readMusicXmlScore(path, read, message), 0u);
        return kor::performedOrder(read).value_or(std::vector<PerformedMeasure>{});
    }
    std::vector<PerformedMeasure> performed(const std::vector<std::string>& marks) {
        dir_.write("score.musicxml", score(marks));
        return performed(dir_.wide("score.musicxml"));
    }

    kor::test::TempDir dir_;
};

// Measures 0, 1, ... as written; `passes` gives each one's pass.
std::vector<PerformedMeasure> order(const std::vector<int>& measures,
                                    const std::vector<int>& passes) {
    std::vector<PerformedMeasure> out;
    for (std::size_t i = 0; i < measures.size(); ++i)
        out.push_back({measures[i], i < passes.size() ? passes[i] : 1});
    return out;
}

} // namespace

TEST_F(ScorePerformanceTest, UnfoldsRepeatsEndingsAndTheirPasses) {
    // A volta: the first ending on pass 1, the second on pass 2.
    EXPECT_EQ(performed({"", ending("1", "start") + ending("1", "stop") + kBackward,
                         ending("2", "start") + ending("2", "discontinue"), ""}),
              order({0, 1, 0, 2, 3}, {1, 1, 2, 2, 1}));
    // Three endings, each but the last closing with a backward repeat; "1, 2" names two passes.
    EXPECT_EQ(performed({kForward, ending("1, 2", "start") + ending("1, 2", "stop") + kBackward,
                         ending("3", "start") + ending("3", "stop") + kBackward,
                         ending("4", "start") + ending("4", "discontinue"), ""}),
              order({0, 1, 0, 1, 0, 2, 0, 3, 4}, {1, 1, 2, 2, 3, 3, 4, 4, 1}));
    // Nested repeats: the inner section starts afresh on each pass of the outer one.
    EXPECT_EQ(performed({kForward, kForward + kBackward, kBackward, ""}),
              order({0, 1, 1, 2, 0, 1, 1, 2, 3}, {1, 1, 2, 1, 2, 1, 2, 2, 1}));
    // Repeated `times` times; a later backward repeat without its own forward one goes back to
    // the measure after the previous repeat.
    EXPECT_EQ(performed({"<barline><repeat direction='backward' times='3'/></barline>", "",
                         kBackward, ""}),
              order({0, 0, 0, 1, 2, 1, 2, 3}, {1, 2, 3, 1, 1, 2, 2, 1}));
    // Endings without a repeat are sung as written.
    EXPECT_EQ(performed({"", ending("1", "start") + ending("1", "stop"), ending("2", "start"), ""}),
              order({0, 1, 2, 3}, {}));
}

TEST_F(ScorePerformanceTest, FollowsDaCapoDalSegnoCodaAndFineOnce) {
    // D.C. al Fine: back to the start, to the end of the measure marked Fine.
    EXPECT_EQ(performed({"", sound("fine='yes'"), sound("dacapo='yes'")}),
              order({0, 1, 2, 0, 1}, {}));
    // D.S. al Coda: back to the segno, and from To Coda on to the coda ahead, though the coda
    // sign stands at To Coda too and no name matches; no repeat is taken after the jump.
    const std::string codaSign = "<direction><direction-type><coda/></direction-type></direction>";
    EXPECT_EQ(
        performed({"", sound("segno='s'") + kForward, codaSign + sound("tocoda='c'") + kBackward,
                   sound("dalsegno='s'"), codaSign + sound("coda='x'")}),
        order({0, 1, 2, 1, 2, 3, 1, 2, 4}, {1, 1, 1, 2, 2, 1, 1, 1, 1}));
    // A D.S. without a segno and a To Coda without a coda are not followed.
    EXPECT_EQ(performed({sound("tocoda='x'"), sound("dalsegno='x'"), ""}), order({0, 1, 2}, {}));
}

TEST_F(ScorePerformanceTest, UnfoldsTheRepeatsOfSuiteFiles) {
    if (!std::filesystem::exists(kSamples)) GTEST_SKIP() << "no scores in " << kSamples;
    const auto file = [](const char* name) {
        return (std::filesystem::path(kSamples) / "lilypond-suite" / name).wstring();
    };
    // Measure 1 five times.
    EXPECT_EQ(performed(file("45a-SimpleRepeat.xml")), order({0, 0, 0, 0, 0, 1}, {1, 2, 3, 4, 5}));
    // Measures 2-3 five times, then 4-7 three times.
    std::vector<int> measures;
    for (const PerformedMeasure& sung : performed(file("45c-RepeatMultipleTimes.xml")))
        measures.push_back(sung.measure);
    EXPECT_EQ(measures, (std::vector<int>{0, 1, 2, 1, 2, 1, 2, 1, 2, 1, 2, 3,
                                          4, 5, 6, 3, 4, 5, 6, 3, 4, 5, 6, 7}));
    // Nested repeats with endings: 1 2 | 1 3 4 5 (ending 2) | 7 8 9 10 (ending 1 of a second
    // volta whose other ending names pass 5, never sung) | 12.
    EXPECT_EQ(performed(file("45d-Repeats-Nested-Alternatives.xml")),
              order({0, 1, 0, 2, 3, 4, 6, 7, 8, 9, 11}, {1, 1, 2, 2, 2, 2}));
    EXPECT_EQ(performed(file("45e-Repeats-Nested-Alternatives.xml")),
              order({0, 1, 0, 2, 3, 4, 4, 5, 6, 5, 7, 8, 7, 8, 9},
                    {1, 1, 2, 2, 1, 1, 2, 1, 1, 2, 1, 1, 2, 2, 1}));
    // Endings that no repeat closes are sung as written; the repeat after them goes back to
    // the start.
    EXPECT_EQ(performed(file("45f-Repeats-InvalidEndings.xml")),
              order({0, 1, 2, 3, 0, 1, 2, 3, 4}, {1, 1, 1, 1, 2, 2, 2, 2, 1}));
}
