#include "support/ManagerFixture.h"
#include "support/TempDir.h"

#include <korman/ErrorCodes.h>
#include <korman/korman.h>

#include <string>
#include <vector>

namespace {

// A score of the parts `ids`, each with one measure of `measure` (the same for every part).
std::string score(const std::string& measure, const std::vector<std::string>& ids = {"P1"}) {
    std::string list;
    std::string parts;
    for (const std::string& id : ids) {
        list += "<score-part id='" + id + "'/>";
        parts += "<part id='" + id + "'><measure>" + measure + "</measure></part>";
    }
    return "<score-partwise><part-list>" + list + "</part-list>" + parts + "</score-partwise>";
}

std::string middleC(const std::string& duration, const std::string& more = {}) {
    return "<note><pitch><step>C</step><octave>4</octave></pitch><duration>" + duration +
           "</duration>" + more + "</note>";
}

class MusicXmlScoreNumbers : public kor::test::ManagerTest {
protected:
    void SetUp() override {
        ManagerTest::SetUp();
        ASSERT_EQ(manager.sysInitialize(kor::test::loadingPolicy()), 1);
    }

    // Surveys `xml` as the host does; 1 on success.
    int survey(const std::string& xml) {
        files.write("score.musicxml", xml);
        return manager.fileGetMusicXMLImportDirective(files.wide("score.musicxml").c_str(),
                                                      directives);
    }
    // Surveys and loads `xml`; the last error's code.
    std::uint32_t load(const std::string& xml) {
        if (survey(xml) == 1)
            manager.fileLoadMusicXML(files.wide("score.musicxml").c_str(), 1, directives);
        return manager.sysGetLastError();
    }
    std::wstring message() { return manager.sysGetLastErrorMsg(); }

    // The key and length of each note of the first part of the first track.
    std::vector<std::pair<int, int>> notes() {
        IZRSequence& song = *manager.korGetCurrentSequence()->getSequence();
        auto* track = dynamic_cast<IZRZRTrack*>(song.getZRTrackList()->getAt(0));
        auto* part = dynamic_cast<IZRMusicalPart*>(track->getPartList()->getAt(0));
        std::vector<std::pair<int, int>> out;
        for (std::uint32_t i = 0; i < part->getNoteList()->getCount(); ++i) {
            auto* note = dynamic_cast<IZRMusicalNote*>(part->getNoteList()->getAt(i));
            out.emplace_back(note->getNoteNum(), note->getDurTick());
        }
        return out;
    }

    CZRKorManagerIF manager;
    kor::test::TempDir files;
    std::vector<ZRMusicXMLPartImportDirective> directives;
};

} // namespace

// Transpositions far past a key's range clamp the sung key and overflow nothing (the suite runs
// under UBSan).
TEST_F(MusicXmlScoreNumbers, ExtremeTranspositionsClampTheKey) {
    struct Case {
        const char* what;
        std::string chromatic;
        std::string octaves;
        int key;
    };
    const Case cases[] = {
        {"largest semitones and an octave up", "2147483647", "1", 127},
        {"octaves past any whole number", "0", "200000000", 127},
        {"lowest of both", "-2147483648", "-200000000", 0},
        {"more digits than a double holds: no number", std::string(400, '9'), "0", 60},
        {"semitones down, octaves up, within range", "-100", "10", 80},
        {"a whole tone and an octave down", "-2", "-1", 46},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_EQ(load(score("<attributes><transpose><chromatic>" + c.chromatic +
                             "</chromatic><octave-change>" + c.octaves +
                             "</octave-change></transpose></attributes>" + middleC("1"))),
                  0u);
        EXPECT_EQ(notes(), (std::vector<std::pair<int, int>>{{c.key, 480}}));
    }
}

// A position no song can hold is refused with a message, never rounded into one that drops the
// note; divisions count parts of a quarter note, so there is at least one.
TEST_F(MusicXmlScoreNumbers, TinyDivisionsAndHugeDurationsAreRefusedNeverDropped) {
    struct Case {
        const char* what;
        std::string divisions;
        std::string body;
        const wchar_t* refusal; // in the message; null: the note is loaded with `ticks`
        int ticks;
    };
    const std::string largest = "1000000000000";
    const Case cases[] = {
        {"tiny divisions, largest duration", "0.00001", middleC(largest), L"divisions", 0},
        {"divisions below 1", "0.5", middleC("1"), L"divisions '0.5'", 0},
        {"largest duration at 1 division", "1", middleC(largest), L"longer than a song", 0},
        {"a forward past a song", "1", "<forward><duration>" + largest + "</duration></forward>",
         L"longer than a song", 0},
        {"largest duration at the most divisions", "1000000000", middleC(largest), nullptr, 480000},
        {"fractional divisions from 1", "1.5", middleC("3"), nullptr, 960},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::uint32_t code = load(score("<attributes><divisions>" + c.divisions +
                                              "</divisions></attributes>" + c.body + middleC("0")));
        if (c.refusal != nullptr) {
            EXPECT_EQ(code, ZR_E_INVALID_MUSICXML);
            EXPECT_NE(message().find(c.refusal), std::wstring::npos);
            EXPECT_EQ(manager.korGetCurrentSequence(), nullptr);
        } else {
            ASSERT_EQ(code, 0u);
            EXPECT_EQ(notes(), (std::vector<std::pair<int, int>>{{60, c.ticks}}));
        }
    }
}

// A score of more sources than the survey offers says how many it left out.
TEST_F(MusicXmlScoreNumbers, SurveyCountsTheSourcesBeyondTheFirst64) {
    std::string voices;
    for (int voice = 1; voice <= 64; ++voice)
        voices += middleC("1", "<voice>" + std::to_string(voice) + "</voice>");
    struct Case {
        std::vector<std::string> parts; // each singing 64 voices
        std::wstring message;
    };
    const Case cases[] = {
        {{"P1"}, L"OK"},
        {{"P1", "P2", "P3"},
         L"OK 128 more sources (parts or voices) are not offered: a score offers its first 64."},
    };
    for (const Case& c : cases) {
        ASSERT_EQ(survey(score(voices, c.parts)), 1);
        EXPECT_EQ(directives.size(), 64u);
        EXPECT_EQ(message(), c.message);
    }
}
