// Runs the kortool binary the way a person does and checks what it prints and answers.
#include "builders/LegacyFileBuilder.h"
#include "builders/SmfBuilder.h"
#include "support/TempDir.h"
#include "support/ZipFile.h"
#include "builders/WavBuilder.h"
#include "formats/xml/BoundedXmlReader.h"
#include "formats/xml/XmlSource.h"
#include "interchange/MusicXmlArchive.h"

#include <korman/ErrorCodes.h>

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <fstream>
#include <limits>
#include <map>
#include <sstream>
#include <sys/inotify.h>
#include <sys/wait.h>
#include <unistd.h>

using kor::test::LegacyFileBuilder;
using kor::test::SmfBuilder;
using kor::test::TempDir;

namespace {

const std::string kSamples = KORMAN_SAMPLES_DIR;

struct Outcome {
    int status = -1;
    std::string out;
    std::string err;
};

class KortoolTest : public ::testing::Test {
protected:
    // Runs kortool with `args` (shell words), its application data kept in the test's folder.
    Outcome kortool(const std::string& args) const {
        const std::string errFile = dir_.path() + "/stderr.txt";
        const std::string command = "XDG_DATA_HOME='" + dir_.path() + "' '" + KORTOOL_PATH + "' " +
                                    args + " 2>'" + errFile + "'";
        Outcome run;
        FILE* pipe = ::popen(command.c_str(), "r");
        if (pipe == nullptr) return run;
        std::array<char, 4096> buffer;
        while (const std::size_t n = std::fread(buffer.data(), 1, buffer.size(), pipe))
            run.out.append(buffer.data(), n);
        const int status = ::pclose(pipe);
        run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        run.err = dir_.read("stderr.txt");
        return run;
    }

    std::string path(const std::string& name) const { return dir_.path() + "/" + name; }

    TempDir dir_;
};

std::size_t count(const std::string& text, const std::string& what) {
    std::size_t n = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++n;
    return n;
}

// Counts the times the file at `path` is opened, from the counter's making to each count().
class OpenCount {
public:
    explicit OpenCount(const std::string& path)
        : fd_(::inotify_init1(IN_NONBLOCK)) {
        // Closes are watched too, so that no two events in a row are alike: the kernel would
        // merge them into one.
        if (fd_ >= 0) ::inotify_add_watch(fd_, path.c_str(), IN_OPEN | IN_CLOSE);
    }
    ~OpenCount() {
        if (fd_ >= 0) ::close(fd_);
    }
    OpenCount(const OpenCount&) = delete;
    OpenCount& operator=(const OpenCount&) = delete;

    int count() {
        alignas(inotify_event) std::array<char, 4096> buffer;
        for (ssize_t n; (n = ::read(fd_, buffer.data(), buffer.size())) > 0;)
            for (const char* at = buffer.data(); at < buffer.data() + n;) {
                const auto* event = reinterpret_cast<const inotify_event*>(at);
                if ((event->mask & IN_OPEN) != 0) ++opens_;
                at += sizeof(inotify_event) + event->len;
            }
        return opens_;
    }

private:
    int fd_;
    int opens_ = 0;
};

// True when `xml` is well-formed XML.
bool wellFormed(const std::string& xml) {
    class Ignore final : public kor::AZRXmlReaderClient {
        void takeEvents(CZRXmlEventBuffer& events) override { events.clear(); }
        kor::ZRXmlTextRoom textRoom() const override { return {{}, SIZE_MAX}; }
    } ignore;
    kor::CZRBoundedXmlReader reader({.maxDepth = 256});
    kor::CZRXmlMemorySource source(xml);
    return reader.start() && reader.parse(source, L"svg", ignore) == kor::ZRXmlReadResult::Read;
}

TEST_F(KortoolTest, AnswersBadUsageWithStatusTwo) {
    EXPECT_EQ(kortool("").status, 2);
    EXPECT_EQ(kortool("frobnicate x").status, 2);
    EXPECT_EQ(kortool("info").status, 2);
    EXPECT_EQ(kortool("convert only-one-file").status, 2);
    const Outcome badOption = kortool("render a.korx b.svg --from x");
    EXPECT_EQ(badOption.status, 2);
    EXPECT_NE(badOption.err.find("--from takes a whole number"), std::string::npos);
    EXPECT_EQ(kortool("info a --no-such-option").status, 2);
    EXPECT_EQ(kortool("render a.korx b.svg --width 10").status, 2);
    EXPECT_EQ(kortool("render a.korx b.svg --measures-per-row 0").status, 2);

    const Outcome help = kortool("render --help");
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("usage: kortool render FILE OUT.svg"), std::string::npos);
    EXPECT_EQ(kortool("--help").status, 0);
}

TEST_F(KortoolTest, ReportsLibraryErrorsWithTheirCodes) {
    const Outcome missing = kortool("info '" + path("missing.korx") + "'");
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find("(0x83070013)"), std::string::npos) << missing.err;

    dir_.write("broken.korx", "<?xml version=\"1.0\"?><notakor/>");
    const Outcome broken = kortool("validate '" + path("broken.korx") + "'");
    EXPECT_EQ(broken.status, 1);
    EXPECT_EQ(broken.err.rfind("kortool: ", 0), 0u) << broken.err;
    EXPECT_NE(broken.err.find("(0x8307"), std::string::npos) << broken.err;

    dir_.write("noise.wav", "RIFF....WAVEjunk");
    const Outcome wav = kortool("wav '" + path("noise.wav") + "'");
    EXPECT_EQ(wav.status, 1);
    EXPECT_NE(wav.err.find("Invalid wave file. (0x83071D05)"), std::string::npos) << wav.err;
}

TEST_F(KortoolTest, ConvertsEverySampleToASongThatLoadsBack) {
    for (const char* sample : {"morning-walk.mid", "morning-walk.kor", "morning-walk.korx"}) {
        SCOPED_TRACE(sample);
        const std::string out = path(std::string(sample) + ".korx");
        const Outcome convert = kortool("convert '" + kSamples + "/" + sample + "' '" + out + "'");
        ASSERT_EQ(convert.status, 0) << convert.err;
        const Outcome validate = kortool("validate '" + out + "'");
        EXPECT_EQ(validate.status, 0) << validate.err;
        const Outcome info = kortool("info '" + out + "'");
        EXPECT_EQ(info.status, 0) << info.err;
        EXPECT_NE(info.out.find("format: KOR3"), std::string::npos);
        EXPECT_EQ(count(info.out, "ZR track "), 2u) << info.out;
    }
    // A .mid target gets a MIDI file, whose two singing tracks import again.
    const std::string mid = path("walk.mid");
    ASSERT_EQ(kortool("convert '" + kSamples + "/morning-walk.korx' '" + mid + "'").status, 0);
    const Outcome info = kortool("info '" + mid + "'");
    EXPECT_NE(info.out.find("format: MIDI format 1"), std::string::npos) << info.out;
    EXPECT_EQ(count(info.out, "ZR track "), 2u) << info.out;
}

// The y coordinates of the first path of class `cls` in `svg`, one list per stretch ("M").
std::vector<std::vector<double>> pathHeights(const std::string& svg, const std::string& cls) {
    std::vector<std::vector<double>> pieces;
    const std::size_t at = svg.find("<path class=\"" + cls + "\" d=\"");
    if (at == std::string::npos) return pieces;
    const std::size_t from = svg.find("d=\"", at) + 3;
    std::istringstream d(svg.substr(from, svg.find('"', from) - from));
    for (char command = 0; d >> command;) {
        if (command == 'M') pieces.emplace_back();
        double x = 0, y = 0;
        if (pieces.empty() || !(d >> x >> y)) break;
        pieces.back().push_back(y);
    }
    return pieces;
}

TEST_F(KortoolTest, RendersOneShapePerNoteAndOnePathPerCurve) {
    struct Case {
        const char* options;
        std::size_t notes;
        std::size_t rows;
    };
    // The sample has two ZR tracks of one part each, so each row has two pitch lines and two
    // dynamics lines. Measures 1 and 2 hold the first six lead notes and the first two
    // harmony notes; no note crosses a measure line, so wrapping draws each note once.
    for (const Case& c :
         {Case{"", 28, 1}, Case{"--from 1 --to 2", 8, 1}, Case{"--measures-per-row 5", 28, 2},
          Case{"--width 900", 28, 3}, Case{"--width 900 --measures-per-row 3", 28, 3}}) {
        SCOPED_TRACE(c.options);
        const Outcome render = kortool("render '" + kSamples + "/morning-walk.korx' '" +
                                       path("song.svg") + "' " + c.options);
        ASSERT_EQ(render.status, 0) << render.err;
        const std::string svg = dir_.read("song.svg");
        EXPECT_TRUE(wellFormed(svg));
        EXPECT_NE(svg.find("version=\"1.1\""), std::string::npos);
        EXPECT_EQ(count(svg, "class=\"note\""), c.notes);
        EXPECT_EQ(count(svg, "<path "), 4 * c.rows);
        EXPECT_EQ(count(svg, "<path class=\"pitch\""), 2 * c.rows);
        EXPECT_EQ(count(svg, "<path class=\"dyn\""), 2 * c.rows);
        // The pitch axis names every key of a lane and underlines each C.
        EXPECT_NE(svg.find(">C4</text>"), std::string::npos);
        EXPECT_NE(svg.find(">G#4</text>"), std::string::npos);
        EXPECT_GE(count(svg, "class=\"octave\""), 2 * c.rows);
    }
    EXPECT_NE(dir_.read("song.svg").find("width=\"900.0\""), std::string::npos);
}

TEST_F(KortoolTest, DrawsBendAndVibratoOnThePitchLine) {
    const Outcome render =
        kortool("render '" + kSamples + "/morning-walk.korx' '" + path("song.svg") + "'");
    ASSERT_EQ(render.status, 0) << render.err;
    const auto lead = pathHeights(dir_.read("song.svg"), "pitch");
    ASSERT_EQ(lead.size(), 20u);
    // The fourth note scoops up from a bend of -4096 at two semitones' sensitivity, a whole
    // semitone (a key's height, 8 pixels) below, to its own key.
    ASSERT_GE(lead[3].size(), 2u);
    EXPECT_NEAR(lead[3].front() - lead[3].back(), 8.0, 0.1);
    // Only the long notes have vibrato: the first note stays flat, the third turns up and down
    // over its last three fifths.
    const auto turns = [](const std::vector<double>& ys) {
        int n = 0;
        for (std::size_t i = 2; i < ys.size(); ++i)
            if ((ys[i] - ys[i - 1]) * (ys[i - 1] - ys[i - 2]) < 0) ++n;
        return n;
    };
    EXPECT_EQ(turns(lead[0]), 0);
    EXPECT_GE(turns(lead[2]), 6);
}

// A MIDI file of one singing track: a note with the lyric `lyric` (raw bytes).
std::string midiWithLyric(const std::string& lyric) {
    SmfBuilder smf;
    smf.addTrack().tempo(0, 500000);
    smf.addTrack().meta(0, 0x05, lyric).noteOn(0, 0, 60, 100).noteOff(480, 0, 60);
    return smf.bytes();
}

// The KOR4 test song with an element its format does not know in front of its version.
std::string kor4WithUnknownElement() {
    std::string song = kor::test::readFile(KORMAN_TEST_DATA_DIR "/kor4/song.korx");
    return song.insert(song.find("<version>"), "<surprise/>");
}

TEST_F(KortoolTest, GivesAFileDetectionRefusesToItsOwnReader) {
    LegacyFileBuilder gappedLegacy;
    gappedLegacy.singingTrack("[Common]\nVersion=KOR202\n", 8, {0, 2});
    const struct {
        const char* name;
        std::string bytes;
        std::string expected;
    } cases[] = {
        {"broken.korx", "\xEF\xBB\xBF \n<?xml version=\"1.0\"?>\n<kor><open></kor>\n",
         "line 2, char 7"},
        {"cut.mid", midiWithLyric("la").substr(0, 30), "Invalid SMF. (0x83070025)"},
        {"gapped.kor", gappedLegacy.bytes(), "Invalid KOR file. (0x83070024)"},
        {"notes.txt", "neither XML nor MIDI",
         "not a KOR3, KOR4, legacy, MIDI or MusicXML file (0x83070024)"},
        // What is wrong in a KOR4 song, not that the KOR3 reader does not know its root.
        {"surprise.korx", kor4WithUnknownElement(), "no declaration found for element 'surprise'"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        dir_.write(c.name, c.bytes);
        for (const char* command : {"info", "validate", "dump"}) {
            const Outcome run = kortool(std::string(command) + " '" + path(c.name) + "'");
            EXPECT_EQ(run.status, 1);
            EXPECT_NE(run.err.find(c.expected), std::string::npos) << command << ": " << run.err;
        }
    }
    const Outcome xml = kortool("convert '" + path("broken.korx") + "' '" + path("out.korx") + "'");
    EXPECT_NE(xml.err.find("(0x83070023)"), std::string::npos) << xml.err;
}

TEST_F(KortoolTest, WarnsOfTextsItsCodePageCannotConvert) {
    dir_.write("song.mid", midiWithLyric("\x82\xA0")); // a Shift-JIS lyric
    LegacyFileBuilder legacy;
    legacy.singingTrack("[Common]\nVersion=KOR201\nName=\x83\x65\x83\x58\x83\x67\n"
                        "[EventList]\n0=E0\n[E0]\nType=Anote\nLength=480\nNote#=60\n");
    dir_.write("song.kor", legacy.bytes());

    const Outcome info = kortool("info --codepage 65001 '" + path("song.mid") + "'");
    EXPECT_EQ(info.status, 0) << info.err;
    EXPECT_NE(info.out.find("1 notes, 1 texts not converted, imported"), std::string::npos)
        << info.out;
    for (const auto& [file, expected] :
         {std::pair{"song.mid", "1 text of " + path("song.mid") +
                                    " did not convert from code page 65001 and were left out"},
          std::pair{"song.kor",
                    "1 text of " + path("song.kor") +
                        " did not convert from code page 65001 and came out garbled"}}) {
        const Outcome utf8 = kortool("validate --codepage 65001 '" + path(file) + "'");
        EXPECT_EQ(utf8.status, 0) << utf8.err;
        EXPECT_NE(utf8.err.find(expected), std::string::npos) << utf8.err;
        const Outcome shiftJis = kortool("validate --codepage 932 '" + path(file) + "'");
        EXPECT_EQ(shiftJis.status, 0) << shiftJis.err;
        EXPECT_EQ(shiftJis.err, "");
    }
}

TEST_F(KortoolTest, ReadsEachSongOnce) {
    const std::string song = path("song.korx");
    dir_.write("song.korx", kor::test::readFile(KORMAN_TEST_DATA_DIR "/kor3/full.korx"));
    // The library opens a song twice to load it: once for its root element, which names the
    // reader, and once to read it whole; a detection followed by a load opens it no more.
    for (const std::string& args : {"info '" + song + "'", "validate '" + song + "'",
                                    "convert '" + song + "' '" + path("out.korx") + "'"}) {
        SCOPED_TRACE(args);
        OpenCount opens(song);
        ASSERT_EQ(kortool(args).status, 0);
        EXPECT_EQ(opens.count(), 2);
    }
}

TEST_F(KortoolTest, SaysAMidiFileWithoutNotesHasNothingToImport) {
    SmfBuilder smf;
    smf.addTrack().tempo(0, 500000);
    smf.addTrack().meta(0, 0x03, "Empty");
    dir_.write("silent.mid", smf.bytes());

    const Outcome info = kortool("info '" + path("silent.mid") + "'");
    EXPECT_EQ(info.status, 0) << info.err;
    EXPECT_NE(info.out.find("source 1 \"Empty\": 0 notes"), std::string::npos) << info.out;
    EXPECT_NE(info.out.find("nothing to import: no track has notes"), std::string::npos);

    const Outcome convert =
        kortool("convert '" + path("silent.mid") + "' '" + path("silent.korx") + "'");
    EXPECT_EQ(convert.status, 1);
    EXPECT_NE(convert.err.find("no track has notes (0x83070012)"), std::string::npos)
        << convert.err;

    // Notes there are, but none the import can take.
    dir_.write("song.mid", midiWithLyric("la"));
    SmfBuilder cut;
    cut.addTrack().tempo(0, 500000);
    cut.addTrack().noteOn(0, 0, 60, 100).noteOff(480, 0, 60).withoutEnd();
    dir_.write("cut.mid", cut.bytes());
    for (const auto& [args, expected] :
         {std::pair{"'" + path("song.mid") + "' --tracks 7",
                    "--tracks names no source of the file (0x83070012)"},
          std::pair{"'" + path("cut.mid") + "'",
                    "every track with notes is damaged (0x83070025)"}}) {
        const Outcome run = kortool("convert " + args + " '" + path("out.korx") + "'");
        EXPECT_EQ(run.status, 1);
        EXPECT_NE(run.err.find("nothing to import: " + std::string(expected)), std::string::npos)
            << run.err;
    }
}

TEST_F(KortoolTest, RoundsItsClockToTheNearestTenth) {
    // At 100 BPM the song proper starts at 2.4 s, which 16.16 seconds hold as 2.39999.
    SmfBuilder smf;
    smf.addTrack().tempo(0, 600000);
    smf.addTrack().noteOn(0, 0, 60, 100).noteOff(480, 0, 60);
    dir_.write("slow.mid", smf.bytes());
    const Outcome info = kortool("info '" + path("slow.mid") + "'");
    EXPECT_EQ(info.status, 0) << info.err;
    EXPECT_NE(info.out.find("(tick 1920, 0:02.4)"), std::string::npos) << info.out;
}

TEST_F(KortoolTest, PrintsItsVersionAndTheSummaryAsJson) {
    const Outcome version = kortool("--version");
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, std::string("korman ") + KORMAN_PROJECT_VERSION + "\n");

    // A file name with quotes, a backslash and a tab, each of which JSON must escape.
    const std::string name = "say \"hi\"\\\tnow";
    dir_.write(name + ".mid", midiWithLyric("la"));
    const Outcome json = kortool("info --json '" + path(name + ".mid") + "'");
    ASSERT_EQ(json.status, 0) << json.err;
    EXPECT_EQ(count(json.out, "\n"), 1u);
    EXPECT_EQ(json.out.rfind("{\"file\":\"" + dir_.path() + "/say \\\"hi\\\"\\\\\\tnow.mid\",", 0),
              0u)
        << json.out;
    EXPECT_NE(json.out.find("\"format\":\"MIDI format 1\",\"codePage\":3,"), std::string::npos)
        << json.out;
    EXPECT_NE(json.out.find("\"timeSignatures\":0,\"unconvertedTexts\":0,"), std::string::npos);
    EXPECT_NE(json.out.find("\"notes\":1,\"lowestKey\":60,\"highestKey\":60"), std::string::npos);
    EXPECT_NE(json.out.find("\"lyrics\":\"la\"}"), std::string::npos);
    EXPECT_EQ(json.out.substr(json.out.size() - 3), "}}\n") << json.out;
}

} // namespace

TEST_F(KortoolTest, ImportsTheChosenSourcesAndVerseOfAScore) {
    const std::string chorale = std::string(KORMAN_MUSICXML_SAMPLES_DIR) + "/bach/bwv10.7.mxl";
    if (!std::filesystem::exists(chorale)) GTEST_SKIP() << "no chorale at " << chorale;
    const Outcome info = kortool("info '" + chorale + "'");
    EXPECT_EQ(info.status, 0) << info.err;
    EXPECT_NE(info.out.find("format: MusicXML"), std::string::npos);
    // The soprano alone has lyrics, numbered as verse 2, which it sings unless told otherwise.
    EXPECT_NE(info.out.find("source 0 \"Soprano\": 46 notes, 45 with lyrics (verse 2; singing 2)"),
              std::string::npos)
        << info.out;

    const std::string convert =
        "convert '" + chorale + "' '" + path("song.korx") + "' --tracks 0,3";
    const Outcome converted = kortool(convert);
    ASSERT_EQ(converted.status, 0) << converted.err;
    const Outcome song = kortool("info '" + path("song.korx") + "'");
    EXPECT_NE(song.out.find("ZR track 1 \"Bass\""), std::string::npos) << song.out;
    EXPECT_EQ(song.out.find("ZR track 2"), std::string::npos);
    EXPECT_NE(song.out.find("lyrics: Mei ne Seel"), std::string::npos) << song.out;
    // A verse the soprano has no line of is refused, not sung as line 2 or without words.
    const Outcome firstVerse = kortool(convert + " --verse 1");
    EXPECT_NE(firstVerse.status, 0);
    EXPECT_NE(firstVerse.err.find("source 0: its verse 1 is not a lyric line of the source, "
                                  "which has line 2"),
              std::string::npos)
        << firstVerse.err;
}

TEST_F(KortoolTest, NamesWhyItRefusesEveryBrokenArchive) {
    using kor::test::scoreContainer;
    const std::string container = "META-INF/container.xml";
    const std::string score = "<?xml version='1.0'?><score-partwise><part-list/></score-partwise>";
    // A score whose deflated bytes are damaged half-way.
    kor::test::writeCompressedScore(path("damaged.mxl"), score + std::string(20000, '\n'));
    std::string damaged = dir_.read("damaged.mxl");
    const std::size_t data = damaged.find("score.xml") + 9;
    for (std::size_t at = data + 8; at < data + 24; ++at)
        damaged[at] = static_cast<char>(~damaged[at]);
    struct Case {
        const char* name;
        std::map<std::string, std::string> entries; // none: the bytes of `bytes`
        std::string bytes;
        std::string reason;
    };
    const Case cases[] = {
        {"no zip archive",
         {},
         std::string("PK\3\4", 4) + "cut short",
         "the file is no zip archive"},
        {"no container", {{"score.xml", score}}, {}, "no entry 'META-INF/container.xml'"},
        {"container naming nothing", {{container, "<container/>"}}, {}, "names no root file"},
        {"container naming a missing score",
         {{container, scoreContainer()}},
         {},
         "the archive holds no entry 'score.xml'"},
        {"malformed container",
         {{container, "<container><rootfiles>"}},
         {},
         "container.xml\", line 1"},
        {"container beyond its bound",
         {{container, std::string(std::size_t{2} << 20, ' ')}},
         {},
         "'META-INF/container.xml' inflates to more than 1048576 bytes"},
        {"damaged score", {}, damaged, "the entry 'score.xml' is damaged"},
        {"score beyond its bound",
         {{container, scoreContainer()},
          {"score.xml", score + std::string(kor::kMaxArchivedScoreBytes, ' ')}},
         {},
         "'score.xml' inflates to more than 33554432 bytes"},
        {"score with a 5 MB attribute",
         {{container, scoreContainer()},
          {"score.xml", "<score-partwise a='" + std::string(std::size_t{5} << 20, 'x') + "'/>"}},
         {},
         "a text, comment or tag longer than 4194304 bytes"},
        {"timewise score",
         {{container, scoreContainer()}, {"score.xml", "<score-timewise/>"}},
         {},
         "only score-partwise is read"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.entries.empty())
            dir_.write("broken.mxl", c.bytes);
        else
            kor::test::writeZip(path("broken.mxl"), c.entries);
        const std::string file = " '" + path("broken.mxl") + "'";
        for (const std::string& command : {"info" + file, "convert" + file + " out.korx"}) {
            const Outcome run = kortool(command);
            EXPECT_EQ(run.status, 1);
            EXPECT_NE(run.err.find(c.reason), std::string::npos) << command << ": " << run.err;
        }
    }
}
