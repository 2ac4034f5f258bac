#include "interchange/MusicXmlImport.h"

#include "interchange/MusicXmlArchive.h"
#include "interchange/MusicXmlScore.h"
#include "model/KorDocument.h"
#include "model/KorRoot.h"
#include "model/MasterTrack.h"
#include "model/MusicalControl.h"
#include "model/MusicalNote.h"
#include "model/MusicalPart.h"
#include "model/Sequence.h"
#include "model/Tempo.h"
#include "model/TimeSig.h"
#include "model/ZRTrack.h"
#include "platform/CodePage.h"
#include "support/ManagerFixture.h"
#include "support/SungNotes.h"
#include "support/TempDir.h"
#include "support/ZipFile.h"

#include <korman/ErrorCodes.h>

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <map>
#include <optional>
#include <set>
#include <string_view>
#include <vector>

namespace {

const std::string kSamples = KORMAN_MUSICXML_SAMPLES_DIR;

using kor::test::SungNote;

const std::string kPublicDtd = "<!DOCTYPE score-partwise PUBLIC '-//Recordare//DTD MusicXML 4.0 "
                               "Partwise//EN' 'http://www.musicxml.org/dtds/partwise.dtd'>";

// A score of one part "P1" named "Voice" with `measures` as its body.
std::string score(const std::string& measures, const std::string& doctype = kPublicDtd) {
    return "<?xml version='1.0'?>\n" + doctype +
           "<score-partwise version='4.0'><work><work-title>Test</work-title></work>"
           "<part-list><score-part id='P1'><part-name>Voice</part-name></score-part></part-list>"
           "<part id='P1'>" +
           measures + "</part></score-partwise>";
}

std::string note(const std::string& step, int octave, int duration, const std::string& more = {}) {
    return "<note><pitch><step>" + step + "</step><octave>" + std::to_string(octave) +
           "</octave></pitch><duration>" + std::to_string(duration) + "</duration>" + more +
           "</note>";
}

std::string lyric(const std::string& number, const std::string& content) {
    return "<lyric number='" + number + "'>" + content + "</lyric>";
}

class MusicXmlImportTest : public ::testing::Test {
protected:
    std::uint32_t survey(const std::wstring& path,
                         std::vector<ZRMusicXMLPartImportDirective>& directives) {
        return importer_.survey(path, directives);
    }
    std::wstring write(const std::string& xml) {
        dir_.write("score.musicxml", xml);
        return dir_.wide("score.musicxml");
    }
    // Surveys the score at `path`, then imports what the survey switched on, after `choose`
    // changed the directives.
    std::uint32_t import(const std::wstring& path,
                         void (*choose)(std::vector<ZRMusicXMLPartImportDirective>&) = nullptr) {
        std::vector<ZRMusicXMLPartImportDirective> directives;
        if (const std::uint32_t code = survey(path, directives)) return code;
        if (choose != nullptr) choose(directives);
        doc_.objects().clear();
        doc_.setRoot(nullptr);
        return importer_.importFile(path, 1, directives, doc_);
    }
    CZRSequence* sequence() const { return doc_.root()->sequence(); }
    std::vector<SungNote> notes(std::uint32_t track) const {
        auto* zrTrack = kor::objCast<CZRZRTrack>(sequence()->zrTrackList()->elementAt(track));
        auto* part = kor::objCast<CZRMusicalPart>(zrTrack->partList()->elementAt(0));
        return kor::test::sungNotes(*part, part->getPosTick());
    }

    kor::test::TempDir dir_;
    ZRVVoiceLib defaultVoice_{0, 3, L"BCNFCY43LB2LZCD4", L"First", {}};
    kor::VVoiceTable voices_{{{0, 3}, defaultVoice_}};
    CxMusicXmlImporter importer_{voices_, defaultVoice_};
    CZRKorDocument doc_;
};

} // namespace

TEST_F(MusicXmlImportTest, ReadsPitchesRhythmTupletsPickupsAndLyricsOfSuiteFiles) {
    if (!std::filesystem::exists(kSamples)) GTEST_SKIP() << "no scores in " << kSamples;
    struct Case {
        const char* file;
        std::uint32_t track; // among the sources the survey switched on
        std::vector<SungNote> first;
    };
    // One pre-measure of 4/4 (1920 ticks) stands before every song.
    const Case cases[] = {
        {"01a-Pitches-Pitches.xml",
         0,
         {{1920, 480, 43, L"a"},
          {2400, 480, 45, L"a"},
          {2880, 480, 47, L"a"},
          {3360, 480, 48, L"a"}}},
        // Triplet eighths, then quintuplet sixteenths (divisions 30).
        {"23d-Tuplets-Nested.xml",
         0,
         {{960, 160, 71, L"a"}, {1120, 160, 71, L"a"}, {1280, 64, 71, L"a"}, {1344, 64, 71, L"a"}}},
        // A one-beat pickup ends on the first bar line; voice 2 starts a beat into measure 1.
        {"46e-PickupMeasure-SecondVoiceStartsLater.xml",
         0,
         {{3360, 480, 72, L"a"}, {3840, 480, 72, L"a"}, {4320, 480, 69, L"a"}}},
        {"46e-PickupMeasure-SecondVoiceStartsLater.xml", 1, {{4320, 480, 60, L"a"}}},
        // Syllables, a word held over an unsung note, and notes after a word's end.
        {"61a-Lyrics.xml",
         0,
         {{1920, 480, 69, L"Tra"},
          {2400, 480, 69, L"la"},
          {2880, 480, 69, L"li"},
          {3360, 480, 69, L"Ja!"},
          {3840, 480, 69, L"a"},
          {4320, 480, 69, L"Tra"},
          {4800, 480, 69, L"-"},
          {5280, 480, 69, L"ra!"}}},
        {"61l-Lyrics-Elisions-Syllables.xml",
         0,
         {{1920, 480, 72, L"a"},
          {2400, 480, 74, L"b c"},
          {2880, 480, 76, L"d e"},
          {3360, 480, 77, L"f g h"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        const std::filesystem::path file =
            std::filesystem::path(kSamples) / "lilypond-suite" / c.file;
        ASSERT_EQ(import(file.wstring()), 0u)
            << std::string(importer_.message().begin(), importer_.message().end());
        const std::vector<SungNote> sung = notes(c.track);
        ASSERT_GE(sung.size(), c.first.size());
        EXPECT_EQ(std::vector<SungNote>(sung.begin(), sung.begin() + c.first.size()), c.first);
    }
}

TEST_F(MusicXmlImportTest, MapsChordsTiesGraceNotesVoicesTransposingAndTime) {
    const std::wstring path = write(score(
        "<measure number='1'><attributes><divisions>2</divisions><time><beats>3</beats>"
        "<beat-type>4</beat-type></time><transpose><diatonic>-1</diatonic><chromatic>-2</chromatic>"
        "</transpose></attributes>"
        "<direction><direction-type><metronome><beat-unit>quarter</beat-unit><beat-unit-dot/>"
        "<per-minute>60</per-minute></metronome></direction-type></direction>" +
        note("D", 4, 2, "<voice>1</voice>" + lyric("1", "<text>low</text>")) +
        note("F", 4, 2, "<chord/><voice>1</voice>") +
        "<note><grace/><pitch><step>A</step><octave>4</octave></pitch><voice>1</voice></note>" +
        "<forward><duration>2</duration></forward>" +
        note("E", 4, 2, "<tie type='start'/><voice>1</voice>") +
        "<backup><duration>6</duration></backup>" + note("C", 3, 6, "<voice>2</voice>") +
        "</measure><measure number='2'><attributes><divisions>4</divisions><time><beats>2</beats>"
        "<beat-type>4</beat-type></time></attributes>"
        "<sound tempo='90'/>"
        "<direction><direction-type><metronome><beat-unit>half</beat-unit>"
        "<per-minute>30</per-minute></metronome></direction-type><sound tempo='100'/></direction>" +
        note("E", 4, 2, "<tie type='stop'/><voice>1</voice>") +
        note("G", 4, 3, "<voice>1</voice><dot/>") +
        note("A", 4, 3,
             "<voice>1</voice><time-modification><actual-notes>3</actual-notes>"
             "<normal-notes>2</normal-notes></time-modification>") +
        "</measure>"));
    std::vector<ZRMusicXMLPartImportDirective> directives;
    ASSERT_EQ(survey(path, directives), 0u);
    ASSERT_EQ(directives.size(), 2u);
    EXPECT_EQ(directives[0].name, L"Voice (voice 1)");
    EXPECT_EQ(directives[0].noteCount, 4);
    EXPECT_EQ(directives[1].voice, L"2");

    ASSERT_EQ(import(path), 0u);
    // Written a whole tone above the sound; the chord sings its top note with the chord's
    // syllable; the grace note is left out; the tie across the bar line makes one note.
    EXPECT_EQ(notes(0), (std::vector<SungNote>{{1440, 480, 63, L"low"},
                                               {2400, 720, 62, L"a"},
                                               {3120, 360, 65, L"a"},
                                               {3480, 360, 67, L"a"}}));
    EXPECT_EQ(notes(1), (std::vector<SungNote>{{1440, 1440, 46, L"a"}}));
    // 3/4 then 2/4 from measure 2 (the pre-measure in front); a dotted quarter at 60 is 90
    // quarters a minute, and a sound's tempo wins over its direction's mark.
    const CZRMasterTrack* master = sequence()->masterTrack();
    ASSERT_EQ(master->timeSigList()->getCount(), 2u);
    EXPECT_EQ(kor::objCast<CZRTimeSig>(master->timeSigList()->elementAt(1))->values().posMes, 2);
    std::vector<std::pair<std::int32_t, std::int32_t>> tempos;
    for (IZRMutableKorObject* element : master->tempoList()->elements()) {
        const auto* tempo = kor::objCast<CZRTempo>(element);
        tempos.emplace_back(tempo->getPosTick(), tempo->getBPM());
    }
    EXPECT_EQ(tempos,
              (std::vector<std::pair<std::int32_t, std::int32_t>>{{0, 9000}, {2880, 10000}}));
}

TEST_F(MusicXmlImportTest, SingsTheChosenVerseWithElisionsAndMelismata) {
    const std::wstring path = write(
        score("<measure><attributes><divisions>1</divisions></attributes>" +
              note("C", 5, 1,
                   lyric("1", "<syllabic>begin</syllabic><text>Hal</text>") +
                       lyric("2", "<text>Sing</text><extend/>")) +
              note("D", 5, 1) +
              note("E", 5, 1,
                   lyric("1", "<syllabic>end</syllabic><text>le</text><extend type='start'/>")) +
              note("F", 5, 1, lyric("2", "<extend type='stop'/>")) + "</measure><measure>" +
              note("G", 5, 1, lyric("1", "<text>o</text><elision/><text>ver</text>")) +
              note("A", 5, 1) + "</measure>"));
    std::vector<ZRMusicXMLPartImportDirective> directives;
    ASSERT_EQ(survey(path, directives), 0u);
    ASSERT_EQ(directives.size(), 1u);
    EXPECT_EQ(directives[0].verse, 1);
    EXPECT_EQ(directives[0].lyricCount, 3);
    EXPECT_EQ(directives[0].verses, (std::vector{1, 2}));

    ASSERT_EQ(import(path), 0u);
    const auto lyrics = [this] {
        std::vector<std::wstring> out;
        for (const SungNote& sung : notes(0))
            out.push_back(sung.lyric);
        return out;
    };
    EXPECT_EQ(lyrics(), (std::vector<std::wstring>{L"Hal", L"-", L"le", L"-", L"o ver", L"a"}));
    // Verse 2 ends before the last measure, where verse 1's words are sung; written order sings
    // verse 2 only.
    ASSERT_EQ(import(path, [](auto& d) { d[0].verse = 2; }), 0u);
    EXPECT_EQ(lyrics(), (std::vector<std::wstring>{L"Sing", L"-", L"-", L"-", L"o ver", L"a"}));
    ASSERT_EQ(import(path, [](auto& d) { d[0].verse = 2, d[0].asWritten = 1; }), 0u);
    EXPECT_EQ(lyrics(), (std::vector<std::wstring>{L"Sing", L"-", L"-", L"-", L"a", L"a"}));

    // A verse the source has no line of is refused rather than sung as another line; a score
    // whose one line is numbered 2 offers verse 2 and nothing else.
    EXPECT_EQ(import(path, [](auto& d) { d[0].verse = 3; }), ZR_E_INVALID_PARAMETER);
    EXPECT_EQ(importer_.message(), L"the directive of source 0: its verse 3 is not a lyric line of "
                                   L"the source, which has lines 1, 2");
    const std::wstring second = write(
        score("<measure><attributes><divisions>1</divisions></attributes>" +
              note("C", 5, 1, lyric("2", "<text>Mei</text>")) + note("D", 5, 1) + "</measure>"));
    ASSERT_EQ(survey(second, directives), 0u);
    EXPECT_EQ(directives[0].verse, 2);
    EXPECT_EQ(directives[0].verses, std::vector{2});
    EXPECT_EQ(import(second, [](auto& d) { d[0].verse = 1; }), ZR_E_INVALID_PARAMETER);
    EXPECT_EQ(importer_.message(), L"the directive of source 0: its verse 1 is not a lyric line of "
                                   L"the source, which has line 2");
    ASSERT_EQ(import(second), 0u);
    EXPECT_EQ(lyrics(), (std::vector<std::wstring>{L"Mei", L"a"}));
}

TEST_F(MusicXmlImportTest, SingsRepeatsVoltasAndDaCapoAsPerformedEachPassItsVerse) {
    const auto barline = [](const std::string& content) {
        return "<barline>" + content + "</barline>";
    };
    // |: C D (1: "Hear us", 2: "Sing loud") | [1. E "now" :|] | [2. F, verse 2 "too"] | G, on
    // verse 2 only "Fine", A |
    const std::wstring path = write(
        score("<measure><attributes><divisions>1</divisions></attributes>" +
              note("C", 5, 2, lyric("1", "<text>Hear</text>") + lyric("2", "<text>Sing</text>")) +
              note("D", 5, 2, lyric("1", "<text>us</text>") + lyric("2", "<text>loud</text>")) +
              "</measure><measure>" + barline("<ending number='1' type='start'/>") +
              note("E", 5, 4, lyric("1", "<text>now</text>")) +
              barline("<ending number='1' type='stop'/><repeat direction='backward'/>") +
              "</measure><measure>" + barline("<ending number='2' type='start'/>") +
              note("F", 5, 4, lyric("2", "<text>too</text>")) +
              barline("<ending number='2' type='discontinue'/>") + "</measure><measure>" +
              note("G", 5, 2, lyric("2", "<text>Fine</text>")) + note("A", 5, 2) + "</measure>"));
    std::vector<ZRMusicXMLPartImportDirective> directives;
    ASSERT_EQ(survey(path, directives), 0u);
    ASSERT_EQ(directives.size(), 1u);
    EXPECT_EQ(directives[0].measureCount, 5);
    EXPECT_EQ(directives[0].hasRepeats, 1);
    EXPECT_EQ(directives[0].noteCount, 8);

    ASSERT_EQ(import(path), 0u);
    EXPECT_EQ(notes(0), (std::vector<SungNote>{{1920, 960, 72, L"Hear"},
                                               {2880, 960, 74, L"us"},
                                               {3840, 1920, 76, L"now"},
                                               {5760, 960, 72, L"Sing"},
                                               {6720, 960, 74, L"loud"},
                                               {7680, 1920, 77, L"too"},
                                               {9600, 960, 79, L"Fine"},
                                               {10560, 960, 81, L"a"}}));
    // Written order: every measure once, verse 1 only.
    ASSERT_EQ(import(path, [](auto& d) { d[0].asWritten = 1; }), 0u);
    EXPECT_EQ(notes(0), (std::vector<SungNote>{{1920, 960, 72, L"Hear"},
                                               {2880, 960, 74, L"us"},
                                               {3840, 1920, 76, L"now"},
                                               {5760, 1920, 77, L"a"},
                                               {7680, 960, 79, L"a"},
                                               {8640, 960, 81, L"a"}}));

    // Three repeats of a hundred times nested: a million measures and more as performed, too
    // long for a song; the survey counts the written order, which still imports.
    const std::string hundred = barline("<repeat direction='backward' times='100'/>");
    const std::string forward = barline("<repeat direction='forward'/>");
    const std::wstring nested =
        write(score("<measure>" + forward + note("C", 5, 4) + "</measure><measure>" + forward +
                    note("D", 5, 4) + "</measure><measure>" + forward + note("E", 5, 4) + hundred +
                    "</measure><measure>" + note("F", 5, 4) + hundred + "</measure><measure>" +
                    note("G", 5, 4) + hundred + "</measure>"));
    ASSERT_EQ(survey(nested, directives), 0u);
    EXPECT_EQ(directives[0].measureCount, 0);
    EXPECT_EQ(directives[0].noteCount, 5);
    EXPECT_EQ(import(nested), ZR_E_INVALID_MUSICXML);
    EXPECT_NE(importer_.message().find(L"as written"), std::wstring::npos);
    ASSERT_EQ(import(nested, [](auto& d) { d[0].asWritten = 1; }), 0u);
    EXPECT_EQ(notes(0).size(), 5u);

    // D.C. al Fine, the tempo of the first measure in force again after the jump.
    ASSERT_EQ(import(write(score("<measure><attributes><divisions>1</divisions></attributes>"
                                 "<sound tempo='90'/>" +
                                 note("C", 5, 4) + "</measure><measure><sound tempo='60'/>" +
                                 note("D", 5, 4) + "<sound fine='yes'/></measure><measure>" +
                                 note("E", 5, 4) + "<sound dacapo='yes'/></measure>"))),
              0u);
    EXPECT_EQ(notes(0), (std::vector<SungNote>{{1920, 1920, 72, L"a"},
                                               {3840, 1920, 74, L"a"},
                                               {5760, 1920, 76, L"a"},
                                               {7680, 1920, 72, L"a"},
                                               {9600, 1920, 74, L"a"}}));
    std::vector<std::pair<std::int32_t, std::int32_t>> tempos;
    for (IZRMutableKorObject* element : sequence()->masterTrack()->tempoList()->elements()) {
        const auto* tempo = kor::objCast<CZRTempo>(element);
        tempos.emplace_back(tempo->getPosTick(), tempo->getBPM());
    }
    EXPECT_EQ(tempos, (std::vector<std::pair<std::int32_t, std::int32_t>>{
                          {0, 9000}, {3840, 6000}, {7680, 9000}, {9600, 6000}}));
}

TEST_F(MusicXmlImportTest, MicrotonesSoundOnTheNearestKeyBentByThePitchControl) {
    const auto altered = [](const std::string& step, const std::string& alter, int duration) {
        return "<note><pitch><step>" + step + "</step><alter>" + alter +
               "</alter><octave>4</octave></pitch><duration>" + std::to_string(duration) +
               "</duration></note>";
    };
    // A quarter tone below E, a quarter of a tone above C, D in tune, a rest, F a quarter tone
    // flat: -50 cents, +25, 0, back to 0 after the rest, -50; a semitone of bend is 8192.
    ASSERT_EQ(
        import(write(score("<measure><attributes><divisions>1</divisions></attributes>" +
                           altered("E", "-0.5", 1) + altered("C", "0.25", 1) +
                           altered("D", "0", 1) + "<note><rest/><duration>1</duration></note>" +
                           "</measure><measure>" + altered("F", "-0.5", 4) + "</measure>"))),
        0u);
    const auto controls = [this](std::int32_t type) {
        auto* zrTrack = kor::objCast<CZRZRTrack>(sequence()->zrTrackList()->elementAt(0));
        auto* part = kor::objCast<CZRMusicalPart>(zrTrack->partList()->elementAt(0));
        std::vector<std::pair<std::int32_t, std::int32_t>> points;
        for (const IZRMutableKorObject* element : part->controlList(type)->elements()) {
            const auto* control = kor::objCast<CZRMusicalControl>(element);
            points.emplace_back(part->getPosTick() + control->getPosTick(), control->getValue());
        }
        return points;
    };
    using Points = std::vector<std::pair<std::int32_t, std::int32_t>>;
    EXPECT_EQ(notes(0), (std::vector<SungNote>{{1920, 480, 64, L"a"},
                                               {2400, 480, 60, L"a"},
                                               {2880, 480, 62, L"a"},
                                               {3840, 1920, 65, L"a"}}));
    EXPECT_EQ(controls(kor::kControlPitchBend),
              (Points{{1920, -4096}, {2400, 2048}, {2880, 0}, {3840, -4096}}));
    EXPECT_EQ(controls(kor::kControlBendSensitivity), (Points{{1920, 1}}));
    if (!std::filesystem::exists(kSamples)) GTEST_SKIP() << "no scores in " << kSamples;
    // Quarter tones around C, D, E, F in two octaves, each half a semitone below the key
    // above it.
    ASSERT_EQ(
        import((std::filesystem::path(kSamples) / "lilypond-suite" / "01d-Pitches-Microtones.xml")
                   .wstring()),
        0u);
    std::vector<std::int32_t> keys;
    for (const SungNote& note : notes(0))
        keys.push_back(note.key);
    EXPECT_EQ(keys, (std::vector<std::int32_t>{59, 62, 65, 67, 71, 74, 77, 79}));
    EXPECT_EQ(controls(kor::kControlPitchBend), (Points{{1920, -4096}}));
}

TEST_F(MusicXmlImportTest, AChordNoteRingingPastItsBarLineLeavesTheMeasureItsLength) {
    // The chord's lower note lasts a measure and a half; the next measure starts on its bar line.
    ASSERT_EQ(import(write(score("<measure><attributes><divisions>1</divisions></attributes>" +
                                 note("C", 4, 4) + note("A", 3, 6, "<chord/>") +
                                 "</measure><measure>" + note("D", 4, 4) + "</measure>"))),
              0u);
    EXPECT_EQ(notes(0), (std::vector<SungNote>{{1920, 1920, 60, L"a"}, {3840, 1920, 62, L"a"}}));
}

namespace {

// The text of a compressed score, inflated.
std::string inflated(const std::filesystem::path& file) {
    kor::CZRMusicXmlArchive archive;
    if (archive.open(file.wstring()) != 0) return {};
    std::string text;
    std::array<std::byte, 1 << 16> buffer;
    for (std::size_t read; (read = archive.read(buffer.data(), buffer.size())) > 0;)
        text.append(reinterpret_cast<const char*>(buffer.data()), read);
    return text;
}

// The text between `open` (up to the end of its tag when it ends in a blank) and `close` in
// `text` from `at`, which moves past it; none when there is no such element.
std::optional<std::string_view> element(std::string_view text, std::string_view open,
                                        std::string_view close, std::size_t& at) {
    std::size_t start = text.find(open, at);
    if (start == std::string_view::npos) return std::nullopt;
    start = text.find('>', start) + 1;
    const std::size_t end = text.find(close, start);
    if (end == std::string_view::npos) return std::nullopt;
    at = end + close.size();
    return text.substr(start, end - start);
}

std::string_view valueOf(std::string_view text, std::string_view name) {
    std::size_t at = 0;
    return element(text, "<" + std::string(name), "</" + std::string(name) + ">", at)
        .value_or(std::string_view{});
}

// A note of a chorale's first part as its text writes it.
struct WrittenNote {
    int start; // ticks in its measure
    int length;
    int key;
    bool tieStop;
    std::map<int, std::pair<std::string, std::wstring>> lyrics; // line -> syllabic, text
};

// What a singer sings of the first part of a chorale with at most one backward repeat and no
// other repeat marks: the measures up to the repeat twice, pass 2 singing line 2, then the rest.
// A note without its pass's line sings the line sung last while a word goes on, else the
// lowest line it has; without any, the held vowel or "a". Positions from the first note.
std::vector<SungNote> sungByTheText(const std::string& score) {
    const std::size_t partAt = score.find("<part ");
    const std::string_view part(score.data() + partAt, score.find("</part>", partAt) - partAt);
    std::vector<std::vector<WrittenNote>> measures;
    std::vector<int> lengths;
    int divisions = 1;
    int repeat = -1;
    std::size_t at = 0;
    while (const auto measure = element(part, "<measure", "</measure>", at)) {
        if (measure->find("<repeat direction=\"backward\"") != std::string_view::npos)
            repeat = static_cast<int>(measures.size());
        if (const auto d = valueOf(*measure, "divisions"); !d.empty())
            divisions = std::stoi(std::string(d));
        auto& notes = measures.emplace_back();
        int time = 0;
        std::size_t noteAt = 0;
        while (const auto note = element(*measure, "<note", "</note>", noteAt)) {
            if (note->find("<grace") != std::string_view::npos ||
                note->find("<chord") != std::string_view::npos)
                continue;
            const int length = std::stoi(std::string(valueOf(*note, "duration"))) * 480 / divisions;
            if (note->find("<rest") == std::string_view::npos) {
                static const std::string kSteps = "C D EF G A B";
                const auto alter = valueOf(*note, "alter");
                WrittenNote written{time,
                                    length,
                                    (std::stoi(std::string(valueOf(*note, "octave"))) + 1) * 12 +
                                        static_cast<int>(kSteps.find(valueOf(*note, "step")[0])) +
                                        (alter.empty() ? 0 : std::stoi(std::string(alter))),
                                    note->find("<tie type=\"stop\"") != std::string_view::npos,
                                    {}};
                std::size_t lyricAt = 0;
                while (const auto lyric = element(*note, "<lyric", "</lyric>", lyricAt)) {
                    const std::size_t number = note->rfind("number=\"", lyricAt) + 8;
                    written.lyrics[std::stoi(std::string(note->substr(number)))] = {
                        std::string(valueOf(*lyric, "syllabic")),
                        kor::platform::decodeUtf8(valueOf(*lyric, "text")).value_or(L"?")};
                }
                notes.push_back(std::move(written));
            }
            time += length;
        }
        lengths.push_back(time);
    }
    std::vector<std::pair<int, int>> order; // measure, pass
    for (int m = 0; m <= repeat; ++m)
        order.emplace_back(m, 1);
    for (int m = 0; m < static_cast<int>(measures.size()); ++m)
        order.emplace_back(m, m <= repeat ? 2 : 1);
    std::vector<SungNote> sung;
    int tick = 0;
    int lastLine = 0;
    bool wordGoesOn = false;
    for (const auto& [m, pass] : order) {
        for (const WrittenNote& note : measures[static_cast<std::size_t>(m)]) {
            if (note.tieStop && note.lyrics.empty() && !sung.empty()) {
                sung.back().length = tick + note.start + note.length - sung.back().tick;
                continue;
            }
            auto lyric = note.lyrics.find(pass);
            if (lyric == note.lyrics.end())
                lyric = wordGoesOn ? note.lyrics.find(lastLine) : note.lyrics.begin();
            std::wstring text = wordGoesOn ? L"-" : L"a";
            if (lyric != note.lyrics.end()) {
                text = lyric->second.second;
                lastLine = lyric->first;
                wordGoesOn = lyric->second.first == "begin" || lyric->second.first == "middle";
            }
            sung.push_back({tick + note.start, note.length, note.key, text});
        }
        tick += lengths[static_cast<std::size_t>(m)];
    }
    for (SungNote& note : sung)
        note.tick -= sung.front().tick;
    return sung;
}

} // namespace

TEST_F(MusicXmlImportTest, ChoralesSingEveryPassWithItsWords) {
    if (!std::filesystem::exists(kSamples)) GTEST_SKIP() << "no scores in " << kSamples;
    std::size_t repeated = 0;
    for (const auto& entry : std::filesystem::directory_iterator(kSamples + "/bach")) {
        SCOPED_TRACE(entry.path().filename().string());
        const std::string text = inflated(entry.path());
        ASSERT_FALSE(text.empty());
        if (text.find("<lyric") == std::string::npos) continue;
        for (const char* mark : {"direction=\"forward\"", "<ending", "dacapo", "dalsegno"})
            ASSERT_EQ(text.find(mark), std::string::npos) << mark;
        repeated += text.find("<repeat") != std::string::npos ? 1 : 0;
        ASSERT_EQ(import(entry.path().wstring()), 0u);
        std::vector<SungNote> sung = notes(0);
        ASSERT_FALSE(sung.empty());
        const std::int32_t first = sung.front().tick;
        for (SungNote& note : sung)
            note.tick -= first;
        EXPECT_EQ(sung, sungByTheText(text));
    }
    EXPECT_GE(repeated, 3u);
}

TEST_F(MusicXmlImportTest, RefusesWhatItCannotReadAndLeavesTheTargetEmpty) {
    dir_.write("secret.txt", "hidden");
    dir_.write("entities.dtd", "<!ENTITY x 'hidden'>");
    std::string deep;
    std::string voices;
    for (int i = 0; i < 70; ++i) {
        deep += "<x>";
        voices += note("C", 4, 1, "<voice>" + std::to_string(i) + "</voice>");
    }
    const std::string sung =
        "<measure>" + note("C", 4, 1, lyric("1", "<text>&x;</text>")) + "</measure>";
    struct Case {
        std::string name;
        std::string xml;
        std::uint32_t code;
    };
    const Case cases[] = {
        {"timewise", "<score-timewise><part-list/></score-timewise>", ZR_E_INVALID_MUSICXML},
        {"other root", "<song/>", ZR_E_INVALID_MUSICXML},
        {"malformed", score("<measure>"), ZR_E_INVALID_XML_FILE},
        {"bad divisions",
         score("<measure><attributes><divisions>0</divisions></attributes></measure>"),
         ZR_E_INVALID_MUSICXML},
        {"bad duration",
         score("<measure><note><pitch><step>C</step><octave>4</octave></pitch>"
               "<duration>x</duration></note></measure>"),
         ZR_E_INVALID_MUSICXML},
        {"too long", score("<measure>" + note("C", 4, 1 << 30) + "</measure>"),
         ZR_E_INVALID_MUSICXML},
        {"deep", score(deep), ZR_E_INVALID_XML_FILE},
        {"too many voices", score("<measure>" + voices + "</measure>"), ZR_E_INVALID_MUSICXML},
        // Neither an external DTD nor an external entity is read, and no entity is expanded.
        {"external DTD",
         score(sung, "<!DOCTYPE score-partwise SYSTEM 'file://" + dir_.path() + "/entities.dtd'>"),
         ZR_E_INVALID_XML_FILE},
        {"external entity",
         score(sung, "<!DOCTYPE score-partwise [<!ENTITY x SYSTEM 'file://" + dir_.path() +
                         "/secret.txt'>]>"),
         ZR_E_INVALID_XML_FILE},
        {"entity expansion",
         score(sung, "<!DOCTYPE score-partwise [<!ENTITY a 'la'><!ENTITY b '&a;&a;&a;&a;&a;&a;'>"
                     "<!ENTITY x '&b;&b;&b;&b;&b;&b;&b;&b;'>]>"),
         ZR_E_INVALID_XML_FILE},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(import(write(c.xml)), c.code);
        EXPECT_FALSE(importer_.message().empty());
    }
    EXPECT_EQ(import(dir_.wide("missing.musicxml")), ZR_E_FILE_NOT_FOUND);
    // Measures outside any part offer nothing to import.
    std::vector<ZRMusicXMLPartImportDirective> none;
    EXPECT_EQ(
        survey(write("<score-partwise><measure>" + note("C", 4, 1) + "</measure></score-partwise>"),
               none),
        0u);
    EXPECT_TRUE(none.empty());

    // Directives that do not fit the score.
    const std::wstring path = write(score("<measure>" + note("C", 4, 1) + "</measure>"));
    const struct {
        void (*choose)(std::vector<ZRMusicXMLPartImportDirective>&);
        const wchar_t* reason;
    } unfit[] = {
        {[](auto& d) { d[0].importSwitch = 0; }, L"no source is switched on"},
        {[](auto& d) { d[0].sourceIndex = 1; },
         L"the directive of source 1: the file offers 1 source, numbered from 0"},
        {[](auto& d) { d[0].verse = 0; }, L"the directive of source 0: its verse 0 is below 1"},
        {[](auto& d) { d[0].singerPC = 128; },
         L"the directive of source 0: the singer 0:128 is outside 0:0 to 127:127"},
        {[](auto& d) { d.push_back(d[0]); }, L"the directive of source 0: it is switched on twice"},
    };
    for (const auto& row : unfit) {
        EXPECT_EQ(import(path, row.choose), ZR_E_INVALID_PARAMETER);
        EXPECT_EQ(importer_.message(), row.reason);
        EXPECT_EQ(doc_.root(), nullptr);
    }
    std::vector<ZRMusicXMLPartImportDirective> directives;
    ASSERT_EQ(survey(path, directives), 0u);
    EXPECT_EQ(importer_.importFile(path, 9, directives, doc_), ZR_E_INVALID_PARAMETER);
}

TEST_F(MusicXmlImportTest, ImportsOrClearlyRefusesEveryFileOfTheSuiteAndTheChorales) {
    if (!std::filesystem::exists(kSamples)) GTEST_SKIP() << "no scores in " << kSamples;
    std::size_t imported = 0;
    std::size_t files = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(kSamples)) {
        const std::string extension = entry.path().extension().string();
        if (extension != ".xml" && extension != ".mxl") continue;
        SCOPED_TRACE(entry.path().string());
        ++files;
        std::vector<ZRMusicXMLPartImportDirective> directives;
        const std::uint32_t surveyed = survey(entry.path().wstring(), directives);
        ASSERT_EQ(surveyed, 0u) << std::string(importer_.message().begin(),
                                               importer_.message().end());
        const bool anyNotes = std::any_of(directives.begin(), directives.end(),
                                          [](const auto& d) { return d.noteCount > 0; });
        const std::uint32_t code = import(entry.path().wstring());
        EXPECT_EQ(code, anyNotes ? 0u : ZR_E_INVALID_PARAMETER);
        if (code != 0) continue;
        ++imported;
        // Every source switched on became a track whose notes the survey counted.
        std::size_t track = 0;
        for (const ZRMusicXMLPartImportDirective& directive : directives) {
            if (directive.importSwitch != 0) {
                EXPECT_EQ(notes(static_cast<std::uint32_t>(track++)).size(),
                          static_cast<std::size_t>(directive.noteCount));
            }
        }
    }
    EXPECT_EQ(files, 145u);
    EXPECT_GT(imported, 100u);
}

TEST_F(MusicXmlImportTest, RefusesAHostileScoreCompressedAsItRefusesItPlain) {
    const std::string filler(std::size_t{5} << 20, 'x');
    std::string attributes;
    for (int i = 0; i < 10000; ++i)
        attributes += " a" + std::to_string(i) + "='1'";
    std::string notes;
    for (std::size_t i = 0; i <= kor::kMaxScoreNotes; ++i)
        notes += "<note/>";
    struct Case {
        const char* name;
        std::string xml;
        std::uint32_t code;
        std::wstring reason;
    };
    const Case hostile[] = {
        {"5 MB attribute value", score("<measure a='" + filler + "'/>"), ZR_E_INVALID_XML_FILE,
         L"a text, comment or tag longer than 4194304 bytes"},
        {"5 MB comment", score("<!--" + filler + "-->"), ZR_E_INVALID_XML_FILE,
         L"a text, comment or tag longer than 4194304 bytes"},
        {"5 MB text", score("<measure>" + filler + "</measure>"), ZR_E_INVALID_XML_FILE,
         L"the text of element 'measure' is longer than 65536 characters"},
        {"10k attributes on one element", score("<measure" + attributes + "/>"),
         ZR_E_INVALID_XML_FILE, L"an element with more than 64 attributes"},
        {"a note more than the cap", score("<measure>" + notes + "</measure>"),
         ZR_E_INVALID_MUSICXML, L"the score holds more than 1000000 notes"},
    };
    for (const Case& c : hostile) {
        SCOPED_TRACE(c.name);
        dir_.write("hostile.musicxml", c.xml);
        kor::test::writeCompressedScore(dir_.path() + "/hostile.mxl", c.xml);
        for (const char* file : {"hostile.musicxml", "hostile.mxl"}) {
            SCOPED_TRACE(file);
            std::vector<ZRMusicXMLPartImportDirective> directives;
            EXPECT_EQ(survey(dir_.wide(file), directives), c.code);
            const std::wstring& message = importer_.message();
            EXPECT_NE(message.find(c.reason), std::wstring::npos)
                << std::string(message.begin(), message.end());
            EXPECT_TRUE(directives.empty());
        }
    }
}

namespace {

// A manager that surveys and imports scores as a host does.
class ScoreReadingTest : public kor::test::ManagerTest {
protected:
    void SetUp() override {
        ManagerTest::SetUp();
        ASSERT_EQ(manager.sysInitialize(kor::test::loadingPolicy()), 1);
    }
    CZRKorManagerIF manager;
};

} // namespace

TEST_F(ScoreReadingTest, ReadsACompressedScoreOnceFromDetectionToImport) {
    // More than a megabyte inflated, so that a second inflation could not pass unnoticed.
    std::string measures;
    for (int i = 0; i < 2000; ++i)
        measures += "<measure>" + note("C", 4, 4, lyric("1", "<text>la</text>")) + "<!--" +
                    std::string(400, ' ') + "--></measure>";
    const std::string xml = score(measures);
    ASSERT_GT(xml.size(), std::size_t{1} << 20);
    kor::test::TempDir dir;
    const std::string file = dir.path() + "/song.mxl";
    kor::test::writeCompressedScore(file, xml);
    const std::wstring path = dir.wide("song.mxl");

    // What `kortool convert` asks of the library.
    const std::uint64_t readsBefore = CxMusicXmlImporter::scoresRead();
    const std::uint64_t bytesBefore = kor::CZRMusicXmlArchive::inflatedScoreBytes();
    EXPECT_EQ(manager.fileGetFileFormat(path.c_str()), ZR_FILE_FORMAT_MUSICXML);
    const std::uint64_t detected = kor::CZRMusicXmlArchive::inflatedScoreBytes() - bytesBefore;
    EXPECT_LT(detected, std::uint64_t{128} << 10);
    std::vector<ZRMusicXMLPartImportDirective> directives;
    ASSERT_EQ(manager.fileGetMusicXMLImportDirective(path.c_str(), directives), 1);
    ASSERT_NE(manager.fileLoadMusicXML(path.c_str(), 1, directives), nullptr);
    EXPECT_EQ(CxMusicXmlImporter::scoresRead() - readsBefore, 1u);
    EXPECT_EQ(kor::CZRMusicXmlArchive::inflatedScoreBytes() - bytesBefore, detected + xml.size());

    // The import took the survey's score: the next survey reads the file again, and a file
    // changed after its survey is read again by the import.
    ASSERT_EQ(manager.fileGetMusicXMLImportDirective(path.c_str(), directives), 1);
    kor::test::writeCompressedScore(file, score(measures.substr(0, measures.size() / 2)));
    ASSERT_NE(manager.fileLoadMusicXML(path.c_str(), 1, directives), nullptr);
    EXPECT_EQ(CxMusicXmlImporter::scoresRead() - readsBefore, 3u);
}
