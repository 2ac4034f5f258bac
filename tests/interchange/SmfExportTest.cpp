#include "support/ManagerFixture.h"
#include "support/SavedDump.h"
#include "support/TempDir.h"

#include <korman/ErrorCodes.h>
#include <korman/korman.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <tuple>
#include <vector>

namespace {

using kor::test::TempDir;

// What a sequencer hears of a song, in the song's ticks: per ZR track its notes and the value of
// each exported curve at every tick where one of them changes or a note starts.
struct Heard {
    using Note = std::tuple<int, int, int, int, std::wstring>; // tick, length, key, velocity, lyric
    std::vector<std::vector<Note>> notes;
    std::vector<std::map<std::pair<int, int>, int>> curves; // (type, tick) -> value in effect
    std::vector<std::pair<int, int>> tempos;                // tick, bpm
    std::vector<std::tuple<int, int, int>> signatures;      // tick, numerator, denominator

    bool operator==(const Heard&) const = default;
};

template <class T> T& at(IZRNodeList* list, std::uint32_t index) {
    return *dynamic_cast<T*>(list->getAt(index));
}

// `song` heard from `from` on, with `offset` added to every tick; the first tempo and time
// signature stay at the start.
Heard listen(const IZRSequence& song, int from, int offset) {
    Heard heard;
    IZRMasterTrack& master = *song.getMasterTrack();
    for (std::uint32_t i = 0; i < master.getTempoList()->getCount(); ++i) {
        const auto& tempo = at<IZRTempo>(master.getTempoList(), i);
        heard.tempos.emplace_back(i == 0 ? 0 : std::max(tempo.getPosTick(), from) + offset,
                                  tempo.getBPM());
    }
    for (std::uint32_t i = 0; i < master.getTimeSigList()->getCount(); ++i) {
        const auto& signature = at<IZRTimeSig>(master.getTimeSigList(), i);
        heard.signatures.emplace_back(
            i == 0 ? 0 : std::max(master.measureToTick(signature.getPosMes()), from) + offset,
            signature.getNumerator(), signature.getDenominator());
    }
    for (std::uint32_t t = 0; t < song.getZRTrackList()->getCount(); ++t) {
        IZRNodeList* parts = at<IZRZRTrack>(song.getZRTrackList(), t).getPartList();
        auto& notes = heard.notes.emplace_back();
        auto& curves = heard.curves.emplace_back();
        for (std::uint32_t p = 0; p < parts->getCount(); ++p) {
            const auto* musical = dynamic_cast<IZRMusicalPart*>(parts->getAt(p));
            if (musical == nullptr || musical->getNoteList()->getCount() == 0) continue;
            const IZRMusicalPart& part = *musical;
            IZRNodeList* partNotes = part.getNoteList();
            // Curves are heard within the span of the part's notes, at each note and each point.
            std::vector<int> ticks;
            int end = 0;
            for (std::uint32_t n = 0; n < partNotes->getCount(); ++n) {
                const auto& note = at<IZRMusicalNote>(partNotes, n);
                const int tick = part.getPosTick() + note.getPosTick();
                notes.emplace_back(tick + offset, note.getDurTick(), note.getNoteNum(),
                                   note.getVelocity(), note.getLyric());
                ticks.push_back(tick);
                end = std::max(end, tick + note.getDurTick());
            }
            const int start = ticks.front();
            for (const int type : {0, 5, 6})
                for (std::uint32_t c = 0; c < part.getControlList(type)->getCount(); ++c) {
                    const int tick =
                        part.getPosTick() +
                        at<IZRMusicalControl>(part.getControlList(type), c).getPosTick();
                    if (tick >= start && tick < end) ticks.push_back(tick);
                }
            for (const int type : {0, 5, 6}) {
                IZRNodeList* points = part.getControlList(type);
                for (const int tick : ticks) {
                    std::optional<int> value;
                    for (std::uint32_t c = 0; c < points->getCount(); ++c) {
                        const auto& point = at<IZRMusicalControl>(points, c);
                        if (part.getPosTick() + point.getPosTick() <= tick)
                            value = point.getValue();
                    }
                    if (value) curves[{type, tick + offset}] = *value;
                }
            }
        }
        // A track without notes is not heard.
        if (notes.empty()) {
            heard.notes.pop_back();
            heard.curves.pop_back();
        }
    }
    return heard;
}

class SmfExport : public kor::test::ManagerTest {
protected:
    void SetUp() override {
        ManagerTest::SetUp();
        ASSERT_EQ(manager.sysInitialize(kor::test::loadingPolicy()), 1);
    }

    // Imports every source of the MIDI file at `path` with `preMeasure` measures in front.
    bool importAll(const std::wstring& path, int preMeasure) {
        std::vector<ZRSMFTrackImportDirective> directives;
        if (manager.fileGetSMFImportDirective(path.c_str(), 0, directives) != 1) return false;
        int chosen = 0;
        for (ZRSMFTrackImportDirective& directive : directives)
            directive.importSwitch = directive.noteCount > 0 && chosen++ < 16 ? 1 : 0;
        return manager.fileLoadSMF(path.c_str(), preMeasure, 0, directives) != nullptr;
    }

    IZRSequence& song() { return *manager.korGetCurrentSequence()->getSequence(); }
    std::string dump() {
        return kor::test::dumpAsSaved(*dynamic_cast<CZRKorRoot*>(manager.korGetCurrentSequence()));
    }

    CZRKorManagerIF manager;
    TempDir files;
};

} // namespace

// A song written as a MIDI file imports with the same notes, lyrics, tempos, signatures and
// curves, the pre-measure dropped or kept; a note in a dropped pre-measure is refused.
TEST_F(SmfExport, SongsImportBackAsTheyWereWritten) {
    const std::wstring mid = files.wide("song.mid");
    for (const std::string file :
         {KORMAN_SAMPLES_DIR "/morning-walk.korx", KORMAN_TEST_DATA_DIR "/kor3/full.korx"}) {
        SCOPED_TRACE(file);
        ASSERT_NE(manager.fileLoadKorFile(std::filesystem::path(file).wstring().c_str()), nullptr);
        const int preTicks = song().getMasterTrack()->getPreMeasureTick();
        const int preMeasure = song().getMasterTrack()->getPreMeasure();
        const bool early = std::get<0>(listen(song(), 0, 0).notes[0].front()) < preTicks;
        EXPECT_EQ(manager.fileExportSMF(mid.c_str(), {}), early ? 0 : 1);
        if (early) {
            EXPECT_NE(std::wstring(manager.sysGetLastErrorMsg()).find(L"pre-measures"),
                      std::wstring::npos);
        }
        const ZRSMFExportOptions keep{1, 65001};
        for (const ZRSMFExportOptions options : {ZRSMFExportOptions{}, keep}) {
            if (early && options.keepPreMeasure == 0) continue;
            ASSERT_NE(manager.fileLoadKorFile(std::filesystem::path(file).wstring().c_str()),
                      nullptr);
            // Without the pre-measure the file starts where the song proper does; with it, the
            // import puts one more measure of 1920 ticks in front.
            const int offset = options.keepPreMeasure != 0 ? 1920 : 0;
            const Heard written = listen(song(), options.keepPreMeasure ? 0 : preTicks, offset);
            ASSERT_EQ(manager.fileExportSMF(mid.c_str(), options), 1);
            ASSERT_TRUE(importAll(mid, options.keepPreMeasure ? 1 : preMeasure));
            EXPECT_EQ(listen(song(), 0, 0), written);
        }
    }
    ASSERT_NE(manager.fileLoadKorFile(L"" KORMAN_TEST_DATA_DIR "/kor3/full.korx"), nullptr);
    EXPECT_EQ(manager.fileExportSMF(mid.c_str(), {0, 12345}), 0);
    EXPECT_EQ(manager.sysGetLastError(), ZR_E_INVALID_PARAMETER);
    EXPECT_EQ(manager.fileExportSMF(nullptr, {1, 65001}), 0);
    EXPECT_EQ(manager.sysGetLastError(), ZR_E_INVALID_FILE_NAME);

    // A name keeps what the code page can carry; a character it lacks becomes '?'.
    std::ifstream in(KORMAN_TEST_DATA_DIR "/kor3/full.korx", std::ios::binary);
    std::string text{std::istreambuf_iterator<char>(in), {}};
    text.replace(text.find("[Lead]"), 6, "[Lead \xE2\x99\xAA \xC3\xA9]"); // a note sign, e acute
    files.write("named.korx", text);
    ASSERT_NE(manager.fileLoadKorFile(files.wide("named.korx").c_str()), nullptr);
    ASSERT_EQ(manager.fileExportSMF(mid.c_str(), {1, 1252}), 1);
    std::vector<ZRSMFTrackImportDirective> directives;
    ASSERT_EQ(manager.fileGetSMFImportDirective(mid.c_str(), 1252, 0, directives), 1);
    EXPECT_TRUE(std::any_of(directives.begin(), directives.end(),
                            [](const auto& source) { return source.name == L"Lead ? \u00E9"; }));
}

// A MIDI file imported, written and imported again gives the same song: the bundled sample and
// the first few real songs fetched by bootstrap.sh --samples (drum tracks among them, whose notes
// of one key overlap across channels).
TEST_F(SmfExport, ImportedMidiSongsWriteBackToTheSameSong) {
    std::vector<std::filesystem::path> songs;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(KORMAN_MIDI_SAMPLES_DIR, ec))
        if (entry.path().extension() == ".mid") songs.push_back(entry.path());
    std::sort(songs.begin(), songs.end());
    songs.resize(std::min<std::size_t>(songs.size(), 4));
    songs.push_back(KORMAN_SAMPLES_DIR "/morning-walk.mid");
    for (const auto& file : songs) {
        SCOPED_TRACE(file.filename().string());
        ASSERT_TRUE(importAll(file.wstring(), 2));
        const std::string imported = dump();
        // The same file name gives the imported song the same name.
        const std::wstring copy = files.wide(file.filename().string());
        ASSERT_EQ(manager.fileExportSMF(copy.c_str(), {}), 1);
        ASSERT_TRUE(importAll(copy, 2));
        EXPECT_EQ(dump(), imported);
    }
}

// Every note a song file holds stays through a KOR3 save and a MIDI export, or the load is
// refused naming it; the export counts the notes a MIDI file cannot hold at their length.
TEST_F(SmfExport, EveryNoteLoadedIsSavedAndExportedOrTheLoadRefusesIt) {
    std::ifstream in(KORMAN_TEST_DATA_DIR "/kor3/golden.korx", std::ios::binary);
    const std::string golden{std::istreambuf_iterator<char>(in), {}};
    const std::size_t first = golden.find("<note>");
    const std::size_t end = golden.find("</note>", first) + 7;
    const std::string note = golden.substr(first, end - first);
    // Golden with its first note (posTick 0, durTick 480, key 60) changed, or repeated.
    const auto changed = [&](const std::string& from, const std::string& to, int copies = 1) {
        std::string notes;
        for (int i = 0; i < copies; ++i)
            notes += note;
        notes.replace(notes.find(from), from.size(), to);
        return golden.substr(0, first) + notes + golden.substr(end);
    };
    const auto countNotes = [this] {
        int count = 0;
        for (std::uint32_t t = 0; t < song().getZRTrackList()->getCount(); ++t) {
            IZRNodeList* parts = at<IZRZRTrack>(song().getZRTrackList(), t).getPartList();
            for (std::uint32_t p = 0; p < parts->getCount(); ++p)
                if (const auto* part = dynamic_cast<IZRMusicalPart*>(parts->getAt(p)))
                    count += static_cast<int>(part->getNoteList()->getCount());
        }
        return count;
    };
    struct Case {
        const char* what;
        std::string song;
        int notes;              // 0: the load is refused
        const wchar_t* message; // of the export, or of the refused load
    };
    const Case cases[] = {
        {"as written", golden, 3, L"OK"},
        {"a note before its part's start", changed("<posTick>0<", "<posTick>-480<"), 0,
         L"ERROR >>>>> CZRMusicalNote"},
        {"a note of no length, loaded 1 tick long", changed("<durTick>480<", "<durTick>0<"), 3,
         L"OK"},
        {"17 of one key at once", changed("<posTick>0<", "<posTick>0<", 17), 19,
         L"OK 1 note was written at another length"},
    };
    const std::wstring korx = files.wide("song.korx");
    const std::wstring saved = files.wide("saved.korx");
    const std::wstring mid = files.wide("song.mid");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        files.write("song.korx", c.song);
        if (c.notes == 0) {
            EXPECT_EQ(manager.fileLoadKorFile(korx.c_str()), nullptr);
            EXPECT_EQ(manager.sysGetLastError(), ZR_E_INVALID_NOTE_POSITION);
            EXPECT_NE(std::wstring(manager.sysGetLastErrorMsg()).find(c.message),
                      std::wstring::npos);
            continue;
        }
        ASSERT_NE(manager.fileLoadKorFile(korx.c_str()), nullptr);
        EXPECT_EQ(countNotes(), c.notes);
        ASSERT_EQ(manager.fileExportSMF(mid.c_str(), {}), 1);
        EXPECT_EQ(std::wstring(manager.sysGetLastErrorMsg()).rfind(c.message, 0), 0u);
        std::vector<ZRSMFTrackImportDirective> directives;
        ASSERT_EQ(manager.fileGetSMFImportDirective(mid.c_str(), 0, directives), 1);
        int written = 0;
        for (const ZRSMFTrackImportDirective& directive : directives)
            written += directive.noteCount;
        EXPECT_EQ(written, c.notes);
        ASSERT_EQ(manager.fileSaveKorFile(saved.c_str()), 1);
        ASSERT_NE(manager.fileLoadKorFile(saved.c_str()), nullptr);
        EXPECT_EQ(countNotes(), c.notes);
    }
}

// A song whose time signature changes at the pre-measure, the first measure or the second
// imports back as it was, the pre-measure dropped or kept; tempos are written in microseconds a
// quarter, rounded (120 and 90 quarters a minute).
TEST_F(SmfExport, SignaturesNearTheSongsStartAndTemposSurviveTheRoundTrip) {
    std::ifstream in(KORMAN_TEST_DATA_DIR "/kor3/full.korx", std::ios::binary);
    const std::string full{std::istreambuf_iterator<char>(in), {}};
    const std::size_t from = full.find("<preMeasure>");
    const std::size_t to = full.find("<tempo>");
    const std::wstring korx = files.wide("song.korx");
    const std::wstring mid = files.wide("song.mid");
    for (const int preMeasure : {1, 2}) {
        for (const int change : {0, 1, 2}) {
            SCOPED_TRACE(testing::Message()
                         << preMeasure << " pre-measures, 2/4 from measure " << change);
            const std::string signature = "<timeSig><posMes>" + std::to_string(change) +
                                          "</posMes><nume>2</nume><denomi>4</denomi></timeSig>";
            std::string text = full;
            text.replace(from, to - from,
                         "<preMeasure>" + std::to_string(preMeasure) + "</preMeasure>" +
                             (change == 0 ? ""
                                          : "<timeSig><posMes>0</posMes><nume>4</nume>"
                                            "<denomi>4</denomi></timeSig>") +
                             signature);
            files.write("song.korx", text);
            for (const int keep : {0, 1}) {
                ASSERT_NE(manager.fileLoadKorFile(korx.c_str()), nullptr);
                const int preTicks = song().getMasterTrack()->getPreMeasureTick();
                if (!keep && std::get<0>(listen(song(), 0, 0).notes[0].front()) < preTicks)
                    continue;
                // A kept pre-measure area is imported as the song, behind one more measure.
                const int offset = keep ? song().getMasterTrack()->measureToTick(1) : 0;
                const Heard written = listen(song(), keep ? 0 : preTicks, offset);
                ASSERT_EQ(manager.fileExportSMF(mid.c_str(), {keep, 65001}), 1);
                ASSERT_TRUE(importAll(mid, keep ? 1 : preMeasure));
                EXPECT_EQ(listen(song(), 0, 0), written) << "keep " << keep;
            }
        }
    }
    const std::string bytes = files.read("song.mid");
    std::vector<int> micros;
    for (std::size_t at = bytes.find("\xFF\x51\x03");
         at != std::string::npos && at + 6 <= bytes.size(); at = bytes.find("\xFF\x51\x03", at + 1))
        micros.push_back(static_cast<std::uint8_t>(bytes[at + 3]) << 16 |
                         static_cast<std::uint8_t>(bytes[at + 4]) << 8 |
                         static_cast<std::uint8_t>(bytes[at + 5]));
    EXPECT_EQ(micros, (std::vector<int>{500000, 666667}));
}
