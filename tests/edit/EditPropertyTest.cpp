#include "formats/kor3/Kor3Parser.h"
#include "formats/kor3/Kor3Writer.h"
#include "support/SongObjects.h"
#include "support/PartEditFixture.h"
#include "support/SongFiles.h"
#include "support/TempDir.h"
#include "builders/WavBuilder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <random>
#include <regex>

namespace {

using T = ZRObjType;
constexpr std::int32_t kSecond = 65536;

template <class Obj, class Values> Obj* make(EditSong& song, Values values) {
    Obj* created = kor::createObject<Obj>(song.doc.context(), ZR_NO_OBJ_ID, values);
    EXPECT_NE(created, nullptr);
    return created;
}

CZRNodeList* makeList(EditSong& song, std::int32_t type, std::int32_t kind,
                      std::initializer_list<IZRMutableKorObject*> elements) {
    auto* list = kor::createObject<CZRNodeList>(song.doc.context(), ZR_NO_OBJ_ID);
    list->setListType(type, kind);
    for (IZRMutableKorObject* element : elements)
        EXPECT_TRUE(list->append(element));
    return list;
}

// Makes the edit song valid throughout: phonemes for its notes, a sound file behind its WAV part,
// voices, both curves and a pitch control for its prosody part.
void completeSong(EditSong& song) {
    for (IZRMutableKorObject* each : song.musical->noteList()->elements())
        kor::objCast<CZRMusicalNote>(each)->values().phonemes = {L"a"};
    song.wav->setSampleRate(44100);
    song.wav->setSampleReso(16);
    song.wav->setChannels(1);
    song.wav->setDurSec(kSecond);
    song.wav->setFilePath(L"a.wav");
    song.wav->part().setPosTick(1920);
    song.wav->part().setPlayTime(720);
    using Voice = CZRProsodyVoice;
    using Point = CZRProsodyElement;
    EXPECT_TRUE(
        song.prosody->setVoiceList(
            makeList(song, 12, -1, {make<Voice>(song, ZRProsodyVoiceValues{0, 0, 0})})) &&
        song.prosody->setElementList(
            0, makeList(song, 13, -1,
                        {make<Point>(song, ZRProsodyElementValues{0, 10}),
                         make<Point>(song, ZRProsodyElementValues{kSecond, 20})})) &&
        song.prosody->setElementList(
            1, makeList(song, 13, -1, {make<Point>(song, ZRProsodyElementValues{0, 30})})) &&
        song.prosody->setControlList(
            5, makeList(song, 14, 5,
                        {make<CZRProsodyControl>(song, ZRProsodyControlValues{kSecond, 5, 7})})));
}

// The part edit song holding every kind of object the editor edits: notes, singers, musical and
// style controls in two parts, a prosody part with voices, curve points and controls, a second
// ZR track, the mixer units of both, a WAV part, a WAV file to insert and a song to import from.
// It draws edit targets and values at random, mostly valid, some out of range, some of the wrong
// kind, some already deleted.
struct RandomEditSong : PartEditFixture {
    kor::test::TempDir dir;
    kor::VibratoShape vibrato{64, {{0, 64}, {10000, 0}}, 50, {}};
    EditSong imported;
    std::mt19937 rng;
    /// Every object ever live, as it was first seen: a host may hold any of them.
    std::map<std::uint32_t, const IZRMutableKorObject*> held;
    std::vector<std::uint32_t> gone;                          ///< every ID ever live
    std::map<T, std::vector<std::uint32_t>> objects;          ///< live IDs by type
    std::map<std::int32_t, std::vector<std::uint32_t>> lists; ///< node lists by element type
    std::vector<std::uint32_t> recent; ///< targets of the present editor, deleted ones included

    explicit RandomEditSong(unsigned seed)
        : rng(seed) {
        const ZRCreateContext context = song.doc.context();
        completeSong(song);
        completeSong(imported);
        song.doc.filePath = dir.wide("song.korx");
        imported.doc.filePath = dir.wide("imported.korx");
        std::filesystem::create_directories(dir.path() + "/imported.wavparts");
        for (const char* name : {"a.wav", "imported.wavparts/a.wav"})
            dir.write(name, kor::test::WavBuilder()
                                .fmt(1, 1, 44100, 16)
                                .data(std::string(44100 * 2, '\0'))
                                .bytes());
        // Either audio track takes a stereo file as well.
        dir.write("stereo.wav", kor::test::WavBuilder()
                                    .fmt(1, 2, 48000, 16)
                                    .data(std::string(48000 * 4, '\0'))
                                    .bytes());
        host.vibratos[7] = &vibrato;
        host.imported = &imported.doc;
        policy.maxNoteTick = 9600;
        auto* voice = kor::createObject<CZRVVoice>(
            context, ZR_NO_OBJ_ID, ZRVVoiceValues{0, 0, L"FAKE0000VOICE000", L"Alto", {}});
        CZRZRTrack* second = kor::buildZRTrack(context, {L"T1", L"", 1});
        EXPECT_TRUE(song.sequence->vvoiceList()->append(voice) &&
                    song.sequence->zrTrackList()->append(second));
        for (std::int32_t trackNo : {0, 1})
            EXPECT_TRUE(
                song.sequence->mixer()->zrUnitList()->append(kor::buildZRUnit(context, trackNo)));
        add<CZRMusicalNote>(b->noteList(), ZRMusicalNoteValues{0, 240, 60, 64, 0, L"a", {L"a"}});
        control(a, 0, 0, 64);
        control(b, 5, 240, 100);
        style(a, L"POR", 480);
        take();
        // A note with style values and vibrato curves, so that every kind exists from the start.
        EXPECT_EQ(editor->insertNoteWithStyle(a->noteList()->getObjID(),
                                              {480, 240, 62, 64, L"la", {L"l", L"a"}, 0},
                                              {8, 0, 1, 0, 50, 50, 127}, {1, 50, 7}),
                  1);
        EXPECT_EQ(editor->commit(), 1);
        collectLive();
    }

    /// Takes the live objects as edit targets.
    void collectLive() {
        objects.clear();
        lists.clear();
        collect(song.doc.root());
    }
    void collect(const IZRMutableKorObject* obj) {
        if (held.emplace(obj->getObjID(), obj).second) gone.push_back(obj->getObjID());
        objects[obj->getObjType()].push_back(obj->getObjID());
        if (const auto* list = kor::objCast<CZRNodeList>(obj))
            lists[list->getListType()].push_back(obj->getObjID());
        std::vector<IZRMutableKorObject*> children;
        obj->getChildren(children);
        for (const IZRMutableKorObject* child : children)
            collect(child);
    }
    /// The first object ever held that is live now under another address, or that no longer
    /// reads its own ID, as "id"; empty if none. Nothing is dropped from this history, so every
    /// object deleted on the way must still be readable.
    std::string firstMoved() const {
        for (const auto& [objID, obj] : held) {
            const IZRMutableKorObject* live = song.doc.objects().lookup(objID);
            if (obj->getObjID() != objID || (live != nullptr && live != obj))
                return std::to_string(objID);
        }
        return {};
    }
    /// The first live object that fails its own validation, as "type id code"; empty if none.
    std::string firstInvalid(const IZRMutableKorObject* obj) const {
        if (const std::uint32_t code = obj->validate())
            return std::to_string(static_cast<int>(obj->getObjType())) + " " +
                   std::to_string(obj->getObjID()) + " " + std::to_string(code);
        std::vector<IZRMutableKorObject*> children;
        obj->getChildren(children);
        for (const IZRMutableKorObject* child : children)
            if (std::string found = firstInvalid(child); !found.empty()) return found;
        return {};
    }

    int num(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); }
    template <class V> V pick(std::initializer_list<V> values) {
        return values.begin()[num(0, static_cast<int>(values.size()) - 1)];
    }
    std::uint32_t from(const std::vector<std::uint32_t>& pool) {
        return pool.empty() ? 99999u : pool[num(0, static_cast<int>(pool.size()) - 1)];
    }
    /// An edit target meant to be a live object of `type`: now and then one this editor has
    /// touched already (and maybe deleted), one deleted before, or an object of any kind.
    std::uint32_t id(T type) {
        const int roll = num(0, 99);
        const std::uint32_t chosen = roll < 12 && !recent.empty() ? from(recent)
                                     : roll < 20                  ? from(gone)
                                                                  : from(objects[type]);
        recent.push_back(chosen);
        return chosen;
    }
    std::uint32_t list(std::int32_t elementType) {
        return num(0, 19) == 0 ? id(T::Tempo) : from(lists[elementType]);
    }
    std::int32_t tick() { return 480 * num(-1, 16); }
    std::int32_t sec() { return kSecond / 4 * num(-1, 12); }
    std::int32_t trackNo() { return num(-1, 4); }
    ZRTimeSigValue timeSig() {
        return {num(-1, 4), pick({0, 2, 3, 4, 256}), pick({0, 2, 4, 8, 33})};
    }
    ZRTempoValue tempo() { return {tick(), pick({1999, 2000, 9000, 15000, 30000, 30001})}; }
    ZRSingerValue singer() { return {tick(), num(0, 2), 0}; }
    ZRStyleControlValue styleControl() {
        return {tick(), pick<std::wstring>({L"POR", L"POR", L"XYZ"}), num(0, 1)};
    }
    ZRMusicalControlValue controlValue() { return {tick(), pick({0, 0, 5, 5, 7}), num(0, 127)}; }
    ZRNoteStyleValue noteStyle() { return {num(0, 101), num(0, 100), 1, 0, 50, 50, 127}; }
    ZRNoteStyleSeqAttribElementValue curvePoint() {
        return {kSecond / 4 * num(-1, 5), num(0, 127)};
    }
    ZRVibratoValue vibratoValue() { return {num(0, 1), num(0, 101), pick({0, 7, 7, 3, 16})}; }
    ZRNoteValue noteValue() {
        return {tick(),
                120 * num(0, 8),
                num(0, 128),
                num(-1, 127),
                pick<std::wstring>({L"la", L""}),
                pick<std::vector<std::wstring>>({{L"l", L"a"}, {}}),
                num(0, 1)};
    }
    ZRMusicalPartValue partValue() {
        return {480 * num(3, 20), pick({59, 480, 1920, 3840}), L"part", L""};
    }
    ZRProsodyVoiceValue voice() { return {sec(), num(0, 2), 0}; }
    ZRProsodyElementValue point() { return {sec(), num(0, 99)}; }
    ZRProsodyControlValue prosodyControl() { return {sec(), pick({5, 5, 2}), num(0, 99)}; }
    ZRWAVPartValue wavPart() { return {tick(), pick({59, 720, 1440}), L"wav", L""}; }
    std::wstring wavFile() { return dir.wide(pick({"a.wav", "stereo.wav", "missing.wav"})); }
};

using S = RandomEditSong;
using E = IZRKorEditorIF;
using Operation = int (*)(S&, E&);

/// Saves the song of `root` to `path` and reads it back, expecting both to succeed. Reading
/// completes what this hand-built song lacks (style plug-in lists, empty curve lists), so the
/// song read back is checked to save and read back as itself, IDs blanked. A WAV part's sound
/// length is not in the file (loading takes it from the sound file), so it is blanked too.
void expectSavedAsIs(const CZRKorRoot& root, const std::string& path) {
    static const std::regex soundLength("durSec=[-0-9]+");
    const std::wstring file(path.begin(), path.end());
    ASSERT_EQ(Kor3::saveKor3File(&root, file), 0u);
    const auto first = kor::test::loadSong<Kor3::CZRKor3Parser>(path);
    ASSERT_NE(first->root(), nullptr);
    ASSERT_EQ(Kor3::saveKor3File(first->root(), file), 0u);
    const auto second = kor::test::loadSong<Kor3::CZRKor3Parser>(path);
    ASSERT_NE(second->root(), nullptr);
    EXPECT_EQ(std::regex_replace(kor::test::dumpAsSaved(*second->root()), soundLength, "durSec=#"),
              std::regex_replace(kor::test::dumpAsSaved(*first->root()), soundLength, "durSec=#"));
}

/// The pending records bearing on an edit of `target`, as a scan of the records in filing order
/// finds them: the first of the target itself, the first whose live object is the target or lies
/// below it, the first of any object on the target's path.
kor::EditSession::Cover scanCover(const kor::EditSession& session, const IZRKorObject& target) {
    const auto onPath = [](const std::vector<std::uint32_t>& path, std::uint32_t objID) {
        return std::find(path.begin(), path.end(), objID) != path.end();
    };
    kor::EditSession::Cover cover;
    std::vector<std::uint32_t> path;
    for (const auto& record : session.pending()) {
        if (cover.same == nullptr && record->objectID() == target.getObjID())
            cover.same = record.get();
        const IZRMutableKorObject* covered =
            session.document().objects().lookup(record->objectID());
        if (cover.below != nullptr || covered == nullptr) continue;
        covered->getObjIDPath(path);
        if (onPath(path, target.getObjID())) cover.below = record.get();
    }
    target.getObjIDPath(path);
    for (const auto& record : session.pending())
        if (cover.above == nullptr && onPath(path, record->objectID())) cover.above = record.get();
    return cover;
}

/// The first live object for which the session's indexes answer otherwise than the scan, as its
/// ID; empty if none.
std::string firstMisindexed(kor::EditSession& session, const IZRMutableKorObject& obj) {
    const kor::EditSession::Cover indexed = session.coverOf(obj);
    const kor::EditSession::Cover scanned = scanCover(session, obj);
    if (indexed.same != scanned.same || indexed.below != scanned.below ||
        indexed.above != scanned.above)
        return std::to_string(obj.getObjID());
    std::vector<IZRMutableKorObject*> children;
    obj.getChildren(children);
    for (const IZRMutableKorObject* child : children)
        if (std::string found = firstMisindexed(session, *child); !found.empty()) return found;
    return {};
}

/// True when every part list of the song's ZR tracks is in order of position.
bool partListsSorted(const CZRSequence& sequence) {
    for (const IZRMutableKorObject* element : sequence.zrTrackList()->elements()) {
        const std::vector<std::int32_t> keys =
            kor::test::sortKeys(kor::objCast<CZRZRTrack>(element)->partList());
        if (!std::is_sorted(keys.begin(), keys.end())) return false;
    }
    return true;
}

// Every editor operation, each drawing its target and values.
const Operation kOperations[] = {
    [](S& s, E& e) { return e.updateTimeSig(s.id(T::TimeSig), s.timeSig()); },
    [](S& s, E& e) { return e.moveTimeSig(s.id(T::TimeSig), s.timeSig()); },
    [](S& s, E& e) { return e.insertTimeSig(s.timeSig()); },
    [](S& s, E& e) { return e.deleteTimeSig(s.id(T::TimeSig)); },
    [](S& s, E& e) { return e.updateTempo(s.id(T::Tempo), s.tempo()); },
    [](S& s, E& e) { return e.moveTempo(s.id(T::Tempo), s.tempo()); },
    [](S& s, E& e) { return e.insertTempo(s.tempo()); },
    [](S& s, E& e) { return e.deleteTempo(s.id(T::Tempo)); },
    [](S& s, E& e) {
        std::vector<std::uint32_t> sigs, tempos;
        return e.listPreMeasureEvents(s.id(T::MasterTrack), sigs, tempos);
    },
    [](S& s, E& e) { return e.setPreMeasure(s.id(T::MasterTrack), s.num(0, 4)); },
    [](S& s, E& e) { return e.updateSinger(s.id(T::MusicalSinger), s.singer()); },
    [](S& s, E& e) { return e.moveSinger(s.id(T::MusicalSinger), s.singer()); },
    [](S& s, E& e) { return e.insertSinger(s.list(8), s.singer()); },
    [](S& s, E& e) { return e.deleteSinger(s.id(T::MusicalSinger)); },
    [](S& s, E& e) {
        return e.setPartStyleAttrib(
            s.id(T::PartStyleAttrib),
            s.pick<std::wstring>({L"accent", L"opening", L"", L"a&b<\"c\">\td"}), s.num(0, 99));
    },
    [](S& s, E& e) { return e.clearPartStyleAttrib(s.id(T::PartStyleAttrib)); },
    [](S& s, E& e) { return e.updateStyleControl(s.id(T::StyleControl), s.styleControl()); },
    [](S& s, E& e) { return e.moveStyleControl(s.id(T::StyleControl), s.styleControl()); },
    [](S& s, E& e) { return e.insertStyleControl(s.list(10), s.styleControl()); },
    [](S& s, E& e) { return e.deleteStyleControl(s.id(T::StyleControl)); },
    [](S& s, E& e) { return e.updateMusicalControl(s.id(T::MusicalControl), s.controlValue()); },
    [](S& s, E& e) { return e.moveMusicalControl(s.id(T::MusicalControl), s.controlValue()); },
    [](S& s, E& e) { return e.insertMusicalControl(s.list(9), s.controlValue()); },
    [](S& s, E& e) { return e.deleteMusicalControl(s.id(T::MusicalControl)); },
    [](S& s, E& e) { return e.updateNoteStyleAttrib(s.id(T::NoteStyleAttrib), s.noteStyle()); },
    [](S& s, E& e) {
        return e.updateNoteStyleSeqAttribElement(s.id(T::NoteStyleSeqAttribElement),
                                                 s.curvePoint());
    },
    [](S& s, E& e) {
        return e.moveNoteStyleSeqAttribElement(s.id(T::NoteStyleSeqAttribElement), s.curvePoint());
    },
    [](S& s, E& e) { return e.insertNoteStyleSeqAttribElement(s.list(7), s.curvePoint()); },
    [](S& s, E& e) {
        return e.deleteNoteStyleSeqAttribElement(s.id(T::NoteStyleSeqAttribElement));
    },
    [](S& s, E& e) { return e.updateNoteVibrato(s.id(T::MusicalNote), s.vibratoValue()); },
    [](S& s, E& e) { return e.updateNote(s.id(T::MusicalNote), s.noteValue()); },
    [](S& s, E& e) { return e.moveNote(s.id(T::MusicalNote), s.noteValue()); },
    [](S& s, E& e) { return e.insertNote(s.list(4), s.noteValue()); },
    [](S& s, E& e) {
        return e.insertNoteWithStyle(s.list(4), s.noteValue(), s.noteStyle(), s.vibratoValue());
    },
    [](S& s, E& e) { return e.copyNote(s.list(4), s.tick(), s.id(T::MusicalNote)); },
    [](S& s, E& e) { return e.copyNoteWithNumber(s.list(4), s.tick(), s.id(T::MusicalNote), 70); },
    [](S& s, E& e) { return e.deleteNote(s.id(T::MusicalNote)); },
    [](S& s, E& e) { return e.updateMusicalPart(s.id(T::MusicalPart), s.partValue()); },
    [](S& s, E& e) { return e.moveMusicalPart(s.id(T::MusicalPart), s.partValue()); },
    [](S& s, E& e) { return e.insertMusicalPart(s.list(18), s.partValue()); },
    [](S& s, E& e) { return e.insertMusicalPartWithSinger(s.list(18), s.partValue(), s.singer()); },
    [](S& s, E& e) {
        return e.copyMusicalPart(s.list(18), 480 * s.num(3, 20), s.id(T::MusicalPart));
    },
    [](S& s, E& e) { return e.copyMusicalPartTo(s.list(18), s.partValue(), s.id(T::MusicalPart)); },
    [](S& s, E& e) { return e.deleteMusicalPart(s.id(T::MusicalPart)); },
    [](S& s, E& e) { return e.divideMusicalPart(s.id(T::MusicalPart), 1920 + s.tick()); },
    [](S& s, E& e) { return e.mergeMusicalParts(s.id(T::MusicalPart), s.id(T::MusicalPart)); },
    [](S& s, E& e) { return e.extendMusicalPartHead(s.id(T::MusicalPart), 240 * s.num(-1, 4)); },
    [](S& s, E& e) { return e.updateProsodyVoice(s.id(T::ProsodyVoice), s.voice()); },
    [](S& s, E& e) { return e.moveProsodyVoice(s.id(T::ProsodyVoice), s.voice()); },
    [](S& s, E& e) { return e.insertProsodyVoice(s.list(12), s.voice()); },
    [](S& s, E& e) { return e.deleteProsodyVoice(s.id(T::ProsodyVoice)); },
    [](S& s, E& e) { return e.updateProsodyElement(s.id(T::ProsodyElement), s.point()); },
    [](S& s, E& e) { return e.moveProsodyElement(s.id(T::ProsodyElement), s.point()); },
    [](S& s, E& e) { return e.insertProsodyElement(s.list(13), s.point()); },
    [](S& s, E& e) { return e.deleteProsodyElement(s.id(T::ProsodyElement)); },
    [](S& s, E& e) { return e.updateProsodyControl(s.id(T::ProsodyControl), s.prosodyControl()); },
    [](S& s, E& e) { return e.moveProsodyControl(s.id(T::ProsodyControl), s.prosodyControl()); },
    [](S& s, E& e) { return e.insertProsodyControl(s.list(14), s.prosodyControl()); },
    [](S& s, E& e) { return e.deleteProsodyControl(s.id(T::ProsodyControl)); },
    [](S& s, E& e) { return e.updateWAVPart(s.id(T::WAVPart), s.wavPart()); },
    [](S& s, E& e) { return e.moveWAVPart(s.id(T::WAVPart), s.wavPart()); },
    [](S& s, E& e) {
        return e.insertWAVPartFromFile(s.list(21), s.tick(), s.wavFile(), s.num(0, 1));
    },
    [](S& s, E& e) {
        return e.importWAVPart(s.list(21), s.tick(),
                               s.pick({s.imported.wav->getObjID(), s.id(T::WAVPart)}));
    },
    [](S& s, E& e) { return e.deleteWAVPart(s.id(T::WAVPart)); },
    [](S& s, E& e) { return e.updateZRTrack(s.id(T::ZRTrack), L"renamed", L""); },
    [](S& s, E& e) { return e.moveZRTrack(s.id(T::ZRTrack), s.trackNo()); },
    [](S& s, E& e) { return e.insertZRTrack(s.list(23), s.trackNo(), L"new", L""); },
    [](S& s, E& e) { return e.copyZRTrack(s.list(23), s.trackNo(), s.id(T::ZRTrack), L"copy"); },
    [](S& s, E& e) {
        return e.importZRTrack(s.list(23), s.trackNo(),
                               s.pick({s.imported.track->getObjID(), s.id(T::ZRTrack)}));
    },
    [](S& s, E& e) { return e.deleteZRTrack(s.id(T::ZRTrack)); },
};

} // namespace

// Random edits of every family, a few per editor, each group committed, its part lists in order,
// and its song saved and read back; then every commit is undone and redone, each state dumping (IDs
// included) exactly as it did after its commit. Throughout, an object a host took once is the
// live object of its ID whenever that ID is in the song, and for every live object the editor's
// indexes name the records a scan of the pending records names, also while a host's undo and redo
// reshape the song under a held editor.
TEST(EditProperty, UndoAndRedoPassThroughEveryCommittedState) {
    for (const unsigned seed : {1u, 2u}) {
        SCOPED_TRACE(seed);
        RandomEditSong s(seed);
        std::vector<std::wstring> dumps{s.song.dump()};
        ASSERT_EQ(s.firstInvalid(s.song.doc.root()), "");
        for (int group = 0; group < 150; ++group) {
            s.take();
            s.recent.clear();
            for (int edits = s.num(1, 4); edits > 0; --edits) {
                const int operation = s.num(0, static_cast<int>(std::size(kOperations)) - 1);
                const int result = kOperations[operation](s, *s.editor);
                // A failure leaves its code; a success clears it.
                ASSERT_EQ(result == 0, s.editor->getLastError() != 0) << group << " " << operation;
                ASSERT_EQ(firstMisindexed(s.editor->session(), *s.song.doc.root()), "") << group;
            }
            ASSERT_EQ(s.song.dump(), dumps.back()) << "an edit reached the live song before commit";
            if (group % 5 == 0 && s.history.canUndo()) {
                ASSERT_EQ(kor::undoAndNotify(s.history, s.host), 0u);
                ASSERT_EQ(firstMisindexed(s.editor->session(), *s.song.doc.root()), "") << group;
                ASSERT_EQ(kor::redoAndNotify(s.history, s.host), 0u);
                ASSERT_EQ(firstMisindexed(s.editor->session(), *s.song.doc.root()), "") << group;
            }
            const bool pending = !s.editor->session().pending().empty();
            ASSERT_EQ(s.editor->commit(), 1) << group;
            ASSERT_EQ(s.editor->getLastError(), 0u);
            if (!pending) continue;
            dumps.push_back(s.song.dump());
            ASSERT_EQ(s.firstInvalid(s.song.doc.root()), "") << group;
            ASSERT_TRUE(partListsSorted(*s.song.sequence)) << group;
            ASSERT_EQ(s.firstMoved(), "") << group;
            // Every few groups, so that the test stays short.
            if (dumps.size() % 4 == 0) {
                expectSavedAsIs(*s.song.doc.root(), s.dir.path() + "/saved.korx");
                ASSERT_FALSE(HasFailure()) << group;
            }
            s.collectLive();
        }
        for (std::size_t n = dumps.size() - 1; n > 0; --n) {
            ASSERT_EQ(kor::undoAndNotify(s.history, s.host), 0u);
            ASSERT_EQ(s.song.dump(), dumps[n - 1]) << "undo to state " << n - 1;
            ASSERT_EQ(s.firstMoved(), "") << "undo to state " << n - 1;
        }
        for (std::size_t n = 1; n < dumps.size(); ++n) {
            ASSERT_EQ(kor::redoAndNotify(s.history, s.host), 0u);
            ASSERT_EQ(s.song.dump(), dumps[n]) << "redo to state " << n;
            ASSERT_EQ(s.firstMoved(), "") << "redo to state " << n;
        }
        EXPECT_FALSE(s.history.canRedo());
    }
}
