#include "formats/kor3/Kor3Writer.h"

#include "formats/kor3/Kor3Parser.h"
#include "formats/xml/VerifyTree.h"
#include "support/ListPath.h"
#include "support/SongObjects.h"
#include "support/SongFiles.h"
#include "support/TempDir.h"
#include "support/TestSong.h"

#include <korman/ErrorCodes.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <random>
#include <sstream>

namespace {

using kor::test::at;
using kor::test::TempDir;

std::string dataPath(const std::string& name) {
    return kor::test::testDataPath("kor3/" + name);
}

std::unique_ptr<CZRKorDocument> load(const std::string& path) {
    return kor::test::loadSong<Kor3::CZRKor3Parser>(path);
}

using kor::test::dumpWithoutIDs;

/// What the writer makes of `sequence`, without the checks and the file of a save.
std::string written(const CZRSequence& sequence) {
    CZRXmlOutput out;
    Kor3::CZRKor3Writer(out).writeSequence(sequence);
    return std::string(out.bytes());
}

/// Builds song pieces the way the reader builds them, so a song made here and the song read back
/// from its file hold the same objects.
struct SongBuilder : TestSong {
    template <class T, class... Args> T* make(Args&&... args) {
        T* obj = kor::createObject<T>(doc.context, ZR_NO_OBJ_ID, std::forward<Args>(args)...);
        EXPECT_NE(obj, nullptr);
        return obj;
    }
    CZRNodeList* list(std::int32_t type, std::int32_t typeEx = -1) {
        return kor::createList(doc.context, static_cast<ZRObjType>(type), typeEx);
    }
    template <class T, class Values> T* append(CZRNodeList* into, Values values) {
        T* obj = make<T>(std::move(values));
        EXPECT_TRUE(into->append(obj));
        return obj;
    }
    CZRVstPlugin* plugin(CZRNodeList* into, const std::wstring& id, std::vector<int> values) {
        const auto count = static_cast<std::int32_t>(values.size());
        return append<CZRVstPlugin>(
            into, ZRVstPluginValues{id, L"Plug " + id, 2, count, 1, 1, 0, 1, std::move(values)});
    }
    /// A track from TestSong, whose ZR unit gets the empty plug-in list a read unit has.
    std::pair<CZRZRTrack*, CZRZRUnit*> track(int trackNo) {
        CZRZRTrack* added = addTrack(trackNo);
        auto* unit = kor::objCast<CZRZRUnit>(sequence->mixer()->zrUnitList()->elements().back());
        EXPECT_TRUE(unit->setVstList(0, list(26)));
        return {added, unit};
    }
    /// A musical part with the lists the reader gives one, and a style plug-in and part style.
    CZRMusicalPart* musicalPart(CZRZRTrack* track, ZRPartValues values,
                                ZRStylePluginValues plugin) {
        auto* part = make<CZRMusicalPart>(std::move(values));
        EXPECT_TRUE(part->setNoteList(list(4)) && part->setSingerList(list(8)) &&
                    part->setStylePlugin(make<CZRStylePlugin>(std::move(plugin))) &&
                    part->setPartStyle(make<CZRPartStyleAttrib>()));
        for (std::int32_t type = 0; type < CZRMusicalPart::kControlTypes; ++type)
            EXPECT_TRUE(part->setControlList(type, list(9, type)));
        EXPECT_TRUE(track->partList()->append(part));
        return part;
    }
    CZRProsodyPart* prosodyPart(CZRZRTrack* track, ZRPartValues values) {
        auto* part = make<CZRProsodyPart>(std::move(values));
        EXPECT_TRUE(part->setVoiceList(list(12)) && part->setPhonemeList(list(11)) &&
                    part->setElementList(0, list(13)) && part->setElementList(1, list(13)));
        for (std::int32_t type = 0; type < CZRProsodyPart::kControlTypes; ++type)
            EXPECT_TRUE(part->setControlList(type, list(14, type)));
        EXPECT_TRUE(track->partList()->append(part));
        return part;
    }
    void styleEvent(CZRMusicalPart* part, bool phrase, const std::wstring& id, int pos, int val) {
        CZRNodeList* events =
            kor::findMapList(phrase ? part->phraseStyleLists() : part->styleControlLists(), id);
        if (events == nullptr) {
            events = list(10, phrase ? -1 : 0);
            EXPECT_TRUE(phrase ? part->setPhraseStyleList(id, events)
                               : part->setStyleControlList(id, events));
        }
        append<CZRStyleControl>(events, ZRStyleControlValues{pos, id, val});
    }
    CZRMusicalNote* note(CZRMusicalPart* part, ZRMusicalNoteValues values,
                         std::map<std::wstring, int> style,
                         std::map<std::wstring, std::vector<std::pair<int, int>>> curves) {
        auto* added = append<CZRMusicalNote>(part->noteList(), std::move(values));
        auto* noteStyle = make<CZRNoteStyleAttrib>();
        for (const auto& [id, value] : style)
            noteStyle->setValue(id, value);
        auto* seqStyle = make<CZRNoteStyleSeqAttrib>();
        for (const auto& [id, points] : curves) {
            CZRNodeList* curve = list(7, id == L"vibDep" ? 10 : id == L"vibRate" ? 11 : -1);
            for (const auto& [pos, elv] : points)
                append<CZRNoteStyleSeqAttribElement>(curve,
                                                     ZRNoteStyleSeqAttribElementValues{pos, elv});
            EXPECT_TRUE(seqStyle->setElementList(id, curve));
        }
        EXPECT_TRUE(added->setNoteStyle(noteStyle) && added->setNoteSeqStyle(seqStyle));
        return added;
    }
    CZRWAVPart* wavPart(CZRWAVTrack* track, ZRPartValues values, int rate, int channels,
                        const std::wstring& path) {
        auto* part = make<CZRWAVPart>(ZRWAVPartValues{std::move(values), rate, 16, channels, path});
        EXPECT_TRUE(track->wavPartList()->append(part));
        return part;
    }
    void aux(const std::wstring& id, const std::wstring& content) {
        auto* record = kor::createAux(doc.context, ZR_NO_OBJ_ID, ZRAuxValues{id, content});
        EXPECT_TRUE(sequence->unManaged()->auxList()->append(record));
    }
    /// Repairs the song as a load would and checks that it is sound.
    void finish() {
        const kor::CorrectResult repaired = kor::correctTree(*root, doc.table, doc.context);
        EXPECT_EQ(repaired.code & kor::kUnrepairable, 0u) << std::hex << repaired.code;
        const kor::CorrectResult checked = kor::validateTree(*root);
        EXPECT_EQ(checked.code, 0u) << std::hex << checked.code;
    }
};

/// A small song with one object of nearly every kind and the texts the format treats specially.
struct GoldenSong : SongBuilder {
    GoldenSong() {
        addVVoice(1, 5)->values().name = L"S\u00e4nger \u4e8c";
        addVVoice(2, 0)->values().name = L"Spoken only";
        CZRMasterTrack& master = *sequence->masterTrack();
        master.setSeqName(L"Golden");
        master.setComment(L"a < b & \"c\"");
        append<CZRTimeSig>(master.timeSigList(), ZRTimeSigValues{0, 4, 4});
        append<CZRTimeSig>(master.timeSigList(), ZRTimeSigValues{8, 3, 4});
        append<CZRTempo>(master.tempoList(), ZRTempoValues{0, 12000});
        append<CZRTempo>(master.tempoList(), ZRTempoValues{3840, 9000});

        CZRMasterUnit& unit = *sequence->mixer()->masterUnit();
        unit.values() = ZRMasterUnitValues{1, -10, -20};
        plugin(unit.vstList(CZRMasterUnit::kInsertList), L"LIMITER", {7, -3});
        plugin(unit.vstList(CZRMasterUnit::kSendReturnList), L"REVERB", {});

        const auto [track, zrUnit] = this->track(0);
        plugin(zrUnit->vstList(), L"EQUALIZER", {1, 2, 3});
        CZRMusicalPart* part = musicalPart(track, {1920, 3840, L"Verse", L""},
                                           {kor::kDefaultStylePluginID, L"Default", L"3.0.0.1"});
        part->partStyle()->setValue(L"accent", 50);
        part->partStyle()->setValue(L"bendDep", 8);
        styleEvent(part, true, L"warmth", 960, 3);
        styleEvent(part, true, L"brightness", 0, 1);
        styleEvent(part, false, L"POR", 0, 64);
        append<CZRMusicalSinger>(part->singerList(), ZRMusicalSingerValues{0, 0, 0});
        append<CZRMusicalSinger>(part->singerList(), ZRMusicalSingerValues{960, 1, 5});
        // Two kinds at one position give two elements.
        append<CZRMusicalControl>(part->controlList(0), ZRMusicalControlValues{0, 0, 64});
        append<CZRMusicalControl>(part->controlList(0), ZRMusicalControlValues{480, 0, 90});
        append<CZRMusicalControl>(part->controlList(5), ZRMusicalControlValues{480, 5, -200});
        note(part, {0, 480, 60, 100, 0, L"la", {L"l", L"a"}}, {{L"accent", 40}},
             {{L"vibDep", {{0, 64}, {32768, 70}}}, {L"vibRate", {{0, 50}}}});
        note(part, {480, 480, 62, 64, 1, L"a]]>b", {L"a"}}, {{L"accent", 50}}, {});
        note(part, {960, 960, 64, 64, 0, L"\u3089\u3089", {L"4", L"a"}}, {{L"decay", 60}}, {});

        CZRProsodyPart* spoken = prosodyPart(track, {7680, 1920, L"Spoken", L"only voice 2"});
        append<CZRProsodyVoice>(spoken->voiceList(), ZRProsodyVoiceValues{0, 2, 0});
        append<CZRProsodyControl>(spoken->controlList(4), ZRProsodyControlValues{100, 4, 20});
        append<CZRProsodyElement>(spoken->elementList(0), ZRProsodyElementValues{0, 6000});
        append<CZRProsodyElement>(spoken->elementList(1), ZRProsodyElementValues{0, 64});
        append<CZRProsodyPhoneme>(spoken->phonemeList(), ZRProsodyPhonemeValues{0, 1000, L"k"});

        wavPart(sequence->seTrack(), {0, 1920, L"Clap", L""}, 44100, 2, L"clap.wav");
        aux(L"HOST-LAYOUT", L"zoom=2 ]]> done " + std::wstring(300, L'x'));
        finish();
    }
};

/// A seeded song of random size holding objects of every kind with random valid values.
class RandomSong : public SongBuilder {
public:
    explicit RandomSong(unsigned seed)
        : rng_(seed) {
        const int voiceCount = number(1, 4);
        for (int i = 1; i < voiceCount; ++i)
            addVVoice(i, number(0, 127))->values().name = text(20);
        for (const IZRMutableKorObject* voice : sequence->vvoiceList()->elements())
            voices_.push_back(kor::objCast<CZRVVoice>(voice));
        buildMaster();
        buildMixer();
        int trackNo = 0;
        for (int i = number(1, 3); i > 0; --i)
            buildTrack(trackNo += number(1, 5));
        for (CZRWAVTrack* track : {sequence->seTrack(), sequence->karaokeTrack()})
            for (int pos : positions(number(0, 2), 0, 4000))
                wavPart(track, partValues(pos), number(0, 1) ? 44100 : 96000, number(1, 2),
                        text(40));
        for (int i = number(0, 3); i > 0; --i)
            aux(text(20), text(300));
        finish();
    }

private:
    int number(int low, int high) { return std::uniform_int_distribution<int>(low, high)(rng_); }
    /// 1 to `maxLength` characters, none of them blank at either end: the reader trims texts.
    std::wstring text(int maxLength, std::wstring_view alphabet = kFreeText) {
        std::wstring out;
        for (int i = number(1, maxLength); i > 0; --i)
            out += alphabet[static_cast<std::size_t>(number(0, int(alphabet.size()) - 1))];
        if (out.front() == L' ') out.front() = L'x';
        if (out.back() == L' ') out.back() = L'x';
        return out;
    }
    std::wstring id(int maxLength) { return text(maxLength, kIDText); }
    /// `count` increasing positions from `first` on, each 1 to `maxStep` after the one before.
    std::vector<int> positions(int count, int first, int maxStep) {
        std::vector<int> out;
        for (int pos = first; count-- > 0; pos += number(1, maxStep))
            out.push_back(pos);
        return out;
    }
    ZRPartValues partValues(int pos) { return {pos, number(60, 7680), text(30), text(30)}; }

    void buildMaster() {
        CZRMasterTrack& master = *sequence->masterTrack();
        master.setSeqName(text(50));
        master.setComment(text(50));
        master.setPreMeasure(number(1, 8));
        for (int pos : positions(number(1, 3), 0, 20))
            append<CZRTimeSig>(master.timeSigList(), ZRTimeSigValues{pos, number(1, 12), 4});
        for (int pos : positions(number(1, 4), 0, 5000))
            append<CZRTempo>(master.tempoList(), ZRTempoValues{pos, number(2000, 30000)});
    }

    void plugins(CZRNodeList* list, int count) {
        for (; count > 0; --count) {
            std::vector<int> values(static_cast<std::size_t>(number(0, 4)));
            for (int& value : values)
                value = number(-1000, 1000);
            plugin(list, L"VST" + id(33), std::move(values))->values().presetNo = number(0, 9);
        }
    }
    void buildMixer() {
        CZRMixer& mixer = *sequence->mixer();
        mixer.masterUnit()->values() = {number(-1, 3), number(-898, 60), number(-898, 60)};
        plugins(mixer.masterUnit()->vstList(CZRMasterUnit::kInsertList), number(0, 2));
        plugins(mixer.masterUnit()->vstList(CZRMasterUnit::kSendReturnList), number(0, 1));
        mixer.seUnit()->values() = {number(-20, 20), number(-898, 60), number(0, 1),
                                    number(0, 1),    number(0, 1),     number(0, 128),
                                    number(-898, 60)};
        plugins(mixer.seUnit()->vstList(), number(0, 2));
        mixer.karaokeUnit()->values() = {number(-20, 20), number(0, 1), number(0, 1),
                                         number(-898, 60)};
        plugins(mixer.karaokeUnit()->vstList(), number(0, 2));
    }

    void buildTrack(int trackNo) {
        const auto [track, unit] = this->track(trackNo);
        track->setName(text(30));
        unit->values() = {trackNo,      number(-20, 20), number(-898, 60), number(0, 1),
                          number(0, 1), number(0, 1),    number(0, 128),   number(-898, 60)};
        plugins(unit->vstList(), number(0, 2));
        // The first part of a track is musical, so the song has singers.
        for (int pos : positions(number(1, 3), 0, 8000)) {
            if (pos > 0 && number(0, 3) == 0)
                buildProsodyPart(prosodyPart(track, partValues(pos)));
            else
                buildMusicalPart(musicalPart(track, partValues(pos), {id(36), text(30), id(15)}));
        }
    }

    void buildMusicalPart(CZRMusicalPart* part) {
        for (int i = number(0, 3); i > 0; --i)
            part->partStyle()->setValue(id(12), number(0, 127));
        for (bool phrase : {true, false})
            for (int lists = number(0, 2); lists > 0; --lists) {
                const std::wstring name = id(8);
                for (int pos : positions(number(1, 3), number(0, 100), 500))
                    styleEvent(part, phrase, name, pos, number(-100, 100));
            }
        // Every VVoice sings, since the file holds only the VVoices that singers use.
        std::size_t voice = 0;
        for (int pos : positions(static_cast<int>(voices_.size()), 0, 2000)) {
            const CZRVVoice& sung = *voices_[voice++];
            append<CZRMusicalSinger>(part->singerList(),
                                     ZRMusicalSingerValues{pos, sung.getVBS(), sung.getVPC()});
        }
        for (std::int32_t type = 0; type < CZRMusicalPart::kControlTypes; ++type)
            for (int pos : positions(number(0, 3), number(0, 50), 300))
                append<CZRMusicalControl>(part->controlList(type),
                                          ZRMusicalControlValues{pos, type, number(-8192, 8191)});
        for (int pos : positions(number(1, 6), number(0, 100), 960)) {
            std::vector<std::wstring> phonemes;
            for (int i = number(1, 3); i > 0; --i)
                phonemes.push_back(id(5));
            std::map<std::wstring, std::vector<std::pair<int, int>>> curves;
            for (const wchar_t* curve : {L"vibDep", L"vibRate"})
                if (number(0, 1) == 1)
                    for (int at : positions(number(1, 3), 0, 20000))
                        curves[curve].emplace_back(at, number(0, 127));
            note(part,
                 {pos, number(1, 960), number(0, 127), number(0, 127), number(0, 1), text(16),
                  std::move(phonemes)},
                 {{id(10), number(0, 127)}}, curves);
        }
    }

    void buildProsodyPart(CZRProsodyPart* part) {
        for (int pos : positions(number(1, 2), 0, 100000))
            append<CZRProsodyVoice>(part->voiceList(), ZRProsodyVoiceValues{pos, 0, 0});
        for (std::int32_t type = 0; type < CZRProsodyPart::kControlTypes; ++type)
            for (int pos : positions(number(0, 2), number(0, 50), 50000))
                append<CZRProsodyControl>(part->controlList(type),
                                          ZRProsodyControlValues{pos, type, number(-100, 100)});
        for (std::size_t which : {0u, 1u})
            for (int pos : positions(number(1, 3), 0, 50000))
                append<CZRProsodyElement>(part->elementList(which),
                                          ZRProsodyElementValues{pos, number(0, 12700)});
        int pos = 0;
        for (int i = number(0, 3); i > 0; --i) {
            const int dur = number(380, 40000);
            append<CZRProsodyPhoneme>(part->phonemeList(), ZRProsodyPhonemeValues{pos, dur, id(8)});
            pos += dur + number(0, 1000);
        }
    }

    static constexpr std::wstring_view kFreeText = L"abcXYZ019 -_.]>&<\"'\u00e4\u00df\u4e8c\u3089";
    static constexpr std::wstring_view kIDText = L"abcdefXYZ0123456789_";

    std::mt19937 rng_;
    std::vector<const CZRVVoice*> voices_;
};

/// Saves `root` into `dir` under `name` and returns the bytes written.
std::string save(const CZRKorRoot* root, const TempDir& dir, const std::string& name) {
    EXPECT_EQ(Kor3::saveKor3File(root, dir.wide(name)), 0u);
    return dir.read(name);
}

} // namespace

TEST(Kor3Writer, WritesTheGoldenDocument) {
    GoldenSong song;
    TempDir dir;
    const std::string bytes = save(song.root, dir, "golden.korx");
    EXPECT_EQ(bytes, kor::test::readFile(dataPath("golden.korx")));

    // What the golden file shows, read back: the escaped text is whole again, the VVoice of the
    // prosody voice alone is gone, both controls at 480 are there.
    const auto doc = load(dir.path() + "/golden.korx");
    const CZRSequence& seq = *doc->root()->sequence();
    const auto* part = &at<CZRMusicalPart>(at<CZRZRTrack>(seq.zrTrackList(), 0).partList(), 0);
    EXPECT_EQ(at<CZRMusicalNote>(part->noteList(), 1).getLyric(), L"a]]>b");
    EXPECT_EQ(seq.vvoiceList()->getCount(), 2u);
    EXPECT_EQ(seq.vvoiceList()->findByKey(2 * 65536), nullptr);
    EXPECT_EQ(part->controlList(0)->getCount(), 2u);
    EXPECT_EQ(part->controlList(5)->getCount(), 1u);
}

TEST(Kor3Writer, KeepsTheFirstVVoiceWhenNoSingerSingsOneOfTheTable) {
    GoldenSong song;
    const auto& part =
        at<CZRMusicalPart>(at<CZRZRTrack>(song.sequence->zrTrackList(), 0).partList(), 0);
    for (IZRMutableKorObject* singer : part.singerList()->elements()) {
        ZRMusicalSingerValues& values = kor::objCast<CZRMusicalSinger>(singer)->values();
        values.vBS = values.vPC = 9;
    }
    TempDir dir;
    save(song.root, dir, "unsung.korx");
    const auto doc = load(dir.path() + "/unsung.korx");
    ASSERT_NE(doc->root(), nullptr);
    const CZRNodeList& voices = *doc->root()->sequence()->vvoiceList();
    ASSERT_EQ(voices.getCount(), 1u);
    EXPECT_EQ(at<CZRVVoice>(&voices, 0).values().name,
              at<CZRVVoice>(song.sequence->vvoiceList(), 0).values().name);
}

TEST(Kor3Writer, WritesTheShapeOfAnEmptySequence) {
    CZRObjectTable table;
    const CZRSequence* sequence = kor::buildEmptySequence({table, table});
    ASSERT_NE(sequence, nullptr);
    const std::string text = written(*sequence);
    // No VVoice, track or aux: only the fixed elements at the first level, every line in CR LF.
    std::vector<std::string> firstLevel;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        ASSERT_TRUE(line.ends_with('\r')) << line;
        if (line.starts_with('\t') && line[1] != '\t')
            firstLevel.push_back(line.substr(1, line.find('>')));
    }
    EXPECT_EQ(firstLevel, (std::vector<std::string>{
                              "<vender>", "<version>", "<vVoiceTable>", "</vVoiceTable>", "<mixer>",
                              "</mixer>", "<masterTrack>", "</masterTrack>", "<seTrack>",
                              "</seTrack>", "<karaokeTrack>", "</karaokeTrack>"}));
    EXPECT_TRUE(
        text.starts_with("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"no\"?>\r\n"));
    EXPECT_TRUE(text.ends_with("\t</karaokeTrack>\r\n</kor3>\r\n"));
}

TEST(Kor3Writer, CutsTextsAfterEscapingThem) {
    GoldenSong song;
    auto& part = at<CZRMusicalPart>(at<CZRZRTrack>(song.sequence->zrTrackList(), 0).partList(), 0);
    auto& first = at<CZRMusicalNote>(part.noteList(), 0).values();
    first.lyric = std::wstring(40, L'y');
    // 30 characters with "]]>" at the end grow to 33 when escaped, and lose the last one.
    auto& second = at<CZRMusicalNote>(part.noteList(), 1).values();
    second.lyric = std::wstring(27, L'z') + L"]]>";
    const std::string text = written(*song.sequence);
    EXPECT_NE(text.find("<lyric><![CDATA[" + std::string(32, 'y') + "]]></lyric>"),
              std::string::npos);
    EXPECT_NE(text.find("<lyric><![CDATA[" + std::string(27, 'z') + "]]&gt]]></lyric>"),
              std::string::npos);
}

TEST(Kor3Writer, RoundTripsTheReaderDocumentsByteForByte) {
    TempDir dir;
    for (const char* name : {"full.korx", "golden.korx"}) {
        const auto original = load(dataPath(name));
        const std::string first = save(original->root(), dir, "first.korx");
        const auto reread = load(dir.path() + "/first.korx");
        EXPECT_EQ(save(reread->root(), dir, "second.korx"), first) << name;
    }
}

TEST(Kor3Writer, RoundTripsRandomSongsWithEveryObjectKind) {
    TempDir dir;
    for (unsigned seed = 1; seed <= 6; ++seed) {
        RandomSong song(seed);
        // One song passes the writer's buffer many times over, in one text and in many lines.
        if (seed == 1) song.aux(L"LARGE", std::wstring(700000, L'x'));
        const std::string first = save(song.root, dir, "random.korx");
        const auto reread = load(dir.path() + "/random.korx");
        EXPECT_EQ(dumpWithoutIDs(*reread->root()), dumpWithoutIDs(*song.root)) << "seed " << seed;
        EXPECT_EQ(save(reread->root(), dir, "again.korx"), first) << "seed " << seed;
    }
}

TEST(Kor3Writer, FailedSaveLeavesTheExistingFileAsItWas) {
    struct Case {
        const char* what;
        std::function<void(GoldenSong&, const TempDir&)> arrange;
        std::uint32_t code;
    };
    const Case cases[] = {
        {"invalid tempo",
         [](GoldenSong& song, const TempDir&) {
             at<CZRTempo>(song.sequence->masterTrack()->tempoList(), 1).values().bpm = 1;
         },
         ZR_E_INVALID_TEMPO_VALUE},
        {"read-only file",
         [](GoldenSong&, const TempDir& dir) {
             std::filesystem::permissions(dir.path() + "/song.korx",
                                          std::filesystem::perms::owner_write,
                                          std::filesystem::perm_options::remove);
         },
         ZR_E_CANNOT_OPEN_FILE},
    };
    for (const Case& c : cases) {
        TempDir dir;
        dir.write("song.korx", "the song as it was");
        GoldenSong song;
        c.arrange(song, dir);
        EXPECT_EQ(Kor3::saveKor3File(song.root, dir.wide("song.korx")), c.code) << c.what;
        EXPECT_EQ(dir.read("song.korx"), "the song as it was") << c.what;
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1)
            << c.what << ": a temporary file was left behind";
    }

    GoldenSong song;
    TempDir dir;
    EXPECT_EQ(Kor3::saveKor3File(song.root, dir.wide("missing/song.korx")), ZR_E_CANNOT_OPEN_FILE);
    EXPECT_EQ(Kor3::saveKor3File(song.root, L""), ZR_E_INVALID_FILE_NAME);
    EXPECT_EQ(Kor3::saveKor3File(nullptr, dir.wide("song.korx")), ZR_E_INVALID_KOR3_FILE);
}
