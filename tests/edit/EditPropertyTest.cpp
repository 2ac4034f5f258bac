#include "legacy/IconVibrato.h"
#include "model/Mixer.h"
#include "model/ProsodyControl.h"
#include "model/ProsodyElement.h"
#include "model/ProsodyVoice.h"
#include "model/ZRUnit.h"
#include "support/PartEditFixture.h"
#include "support/TempDir.h"
#include "support/WavBuilder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <random>
#include <set>

namespace {

using Type = ZRObjType;
constexpr std::int32_t kSecond = 65536;

template <class T, class Values> T* make(EditSong& song, Values values) {
    T* created = kor::createObject<T>(song.doc.context(), ZR_NO_OBJ_ID, values);
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
    CIconVibrato vibrato;
    EditSong imported;
    std::mt19937 rng;
    std::set<std::uint32_t> seen;
    std::vector<std::uint32_t> gone;                          ///< every ID ever live
    std::map<Type, std::vector<std::uint32_t>> objects;       ///< live IDs by type
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
        dir.write("kind7.aic", "[Parameter]\nStartDepth=64\nDepthBPNum=2\nDepthBPX=0.0,1.0\n"
                               "DepthBPY=64,0\nStartRate=50\n");
        EXPECT_TRUE(vibrato.load(dir.wide("kind7.aic")));
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
        if (seen.insert(obj->getObjID()).second) gone.push_back(obj->getObjID());
        objects[obj->getObjType()].push_back(obj->getObjID());
        if (const auto* list = kor::objCast<CZRNodeList>(obj))
            lists[list->getListType()].push_back(obj->getObjID());
        std::vector<IZRMutableKorObject*> children;
        obj->getChildren(children);
        for (const IZRMutableKorObject* child : children)
            collect(child);
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
    template <class T> T pick(std::initializer_list<T> values) {
        return values.begin()[num(0, static_cast<int>(values.size()) - 1)];
    }
    std::uint32_t from(const std::vector<std::uint32_t>& pool) {
        return pool.empty() ? 99999u : pool[num(0, static_cast<int>(pool.size()) - 1)];
    }
    /// An edit target meant to be a live object of `type`: now and then one this editor has
    /// touched already (and maybe deleted), one deleted before, or an object of any kind.
    std::uint32_t id(Type type) {
        const int roll = num(0, 99);
        const std::uint32_t chosen = roll < 12 && !recent.empty() ? from(recent)
                                     : roll < 20                  ? from(gone)
                                                                  : from(objects[type]);
        recent.push_back(chosen);
        return chosen;
    }
    std::uint32_t list(std::int32_t elementType) {
        return num(0, 19) == 0 ? id(Type::Tempo) : from(lists[elementType]);
    }
    std::int32_t tick() { return 120 * num(-1, 64); }
    std::int32_t sec() { return kSecond / 4 * num(-1, 12); }
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
};

using Family = int (*)(RandomEditSong&, IZRKorEditorIF&);

// One entry per edit family, each choosing one of its operations.
const Family kFamilies[] = {
    [](RandomEditSong& s, IZRKorEditorIF& e) {
        const ZRTimeSigValue v{s.num(-1, 4), s.pick({0, 2, 3, 4, 256}), s.pick({0, 2, 4, 8, 33})};
        switch (s.num(0, 3)) {
        case 0:
            return e.updateTimeSig(s.id(Type::TimeSig), v);
        case 1:
            return e.moveTimeSig(s.id(Type::TimeSig), v);
        case 2:
            return e.insertTimeSig(v);
        default:
            return e.deleteTimeSig(s.id(Type::TimeSig));
        }
    },
    [](RandomEditSong& s, IZRKorEditorIF& e) {
        const ZRTempoValue v{s.tick(), s.pick({1999, 2000, 9000, 12000, 30001})};
        switch (s.num(0, 3)) {
        case 0:
            return e.updateTempo(s.id(Type::Tempo), v);
        case 1:
            return e.moveTempo(s.id(Type::Tempo), v);
        case 2:
            return e.insertTempo(v);
        default:
            return e.deleteTempo(s.id(Type::Tempo));
        }
    },
    [](RandomEditSong& s, IZRKorEditorIF& e) {
        std::vector<std::uint32_t> sigs, tempos;
        if (s.num(0, 1) == 0) return e.listPreMeasureEvents(s.id(Type::MasterTrack), sigs, tempos);
        return e.setPreMeasure(s.id(Type::MasterTrack), s.num(0, 4));
    },
    [](RandomEditSong& s, IZRKorEditorIF& e) {
        const ZRSingerValue v{s.tick(), s.num(0, 2), 0};
        switch (s.num(0, 3)) {
        case 0:
            return e.updateSinger(s.id(Type::MusicalSinger), v);
        case 1:
            return e.moveSinger(s.id(Type::MusicalSinger), v);
        case 2:
            return e.insertSinger(s.list(8), v);
        default:
            return e.deleteSinger(s.id(Type::MusicalSinger));
        }
    },
    [](RandomEditSong& s, IZRKorEditorIF& e) {
        if (s.num(0, 2) == 0) return e.clearPartStyleAttrib(s.id(Type::PartStyleAttrib));
        return e.setPartStyleAttrib(s.id(Type::PartStyleAttrib),
                                    s.pick<std::wstring>({L"accent", L"opening", L""}),
                                    s.num(0, 99));
    },
    [](RandomEditSong& s, IZRKorEditorIF& e) {
        const ZRStyleControlValue v{s.tick(), s.pick<std::wstring>({L"POR", L"POR", L"XYZ"}),
                                    s.num(0, 1)};
        switch (s.num(0, 3)) {
        case 0:
            return e.updateStyleControl(s.id(Type::StyleControl), v);
        case 1:
            return e.moveStyleControl(s.id(Type::StyleControl), v);
        case 2:
            return e.insertStyleControl(s.list(10), v);
        default:
            return e.deleteStyleControl(s.id(Type::StyleControl));
        }
    },
    [](RandomEditSong& s, IZRKorEditorIF& e) {
        const ZRMusicalControlValue v{s.tick(), s.pick({0, 0, 5, 5, 7}), s.num(0, 127)};
        switch (s.num(0, 3)) {
        case 0:
            return e.updateMusicalControl(s.id(Type::MusicalControl), v);
        case 1:
            return e.moveMusicalControl(s.id(Type::MusicalControl), v);
        case 2:
            return e.insertMusicalControl(s.list(9), v);
        default:
            return e.deleteMusicalControl(s.id(Type::MusicalControl));
        }
    },
    [](RandomEditSong& s, IZRKorEditorIF& e) {
        const ZRNoteStyleSeqAttribElementValue v{kSecond / 4 * s.num(-1, 5), s.num(0, 127)};
        switch (s.num(0, 4)) {
        case 0:
            return e.updateNoteStyleAttrib(s.id(Type::NoteStyleAttrib),
                                           {s.num(0, 101), s.num(0, 100), 1, 0, 50, 50, 127});
        case 1:
            return e.updateNoteStyleSeqAttribElement(s.id(Type::NoteStyleSeqAttribElement), v);
        case 2:
            return e.moveNoteStyleSeqAttribElement(s.id(Type::NoteStyleSeqAttribElement), v);
        case 3:
            return e.insertNoteStyleSeqAttribElement(s.list(7), v);
        default:
            return e.deleteNoteStyleSeqAttribElement(s.id(Type::NoteStyleSeqAttribElement));
        }
    },
    [](RandomEditSong& s, IZRKorEditorIF& e) {
        switch (s.num(0, 7)) {
        case 0:
            return e.updateNoteVibrato(s.id(Type::MusicalNote),
                                       {s.num(0, 1), s.num(0, 101), s.pick({0, 7, 7, 3})});
        case 1:
            return e.updateNote(s.id(Type::MusicalNote), s.noteValue());
        case 2:
            return e.moveNote(s.id(Type::MusicalNote), s.noteValue());
        case 3:
            return e.insertNote(s.list(4), s.noteValue());
        case 4:
            return e.insertNoteWithStyle(s.list(4), s.noteValue(), {0, 0, 0, 1, 100, 0, 64},
                                         {1, s.num(0, 100), 7});
        case 5:
            return e.copyNote(s.list(4), s.tick(), s.id(Type::MusicalNote));
        case 6:
            return e.copyNoteWithNumber(s.list(4), s.tick(), s.id(Type::MusicalNote), 70);
        default:
            return e.deleteNote(s.id(Type::MusicalNote));
        }
    },
    [](RandomEditSong& s, IZRKorEditorIF& e) {
        const auto part = [&] { return s.id(Type::MusicalPart); };
        switch (s.num(0, 9)) {
        case 0:
            return e.updateMusicalPart(part(), s.partValue());
        case 1:
            return e.moveMusicalPart(part(), s.partValue());
        case 2:
            return e.insertMusicalPart(s.list(18), s.partValue());
        case 3:
            return e.insertMusicalPartWithSinger(s.list(18), s.partValue(), {0, s.num(0, 2), 0});
        case 4:
            return e.copyMusicalPart(s.list(18), 480 * s.num(3, 20), part());
        case 5:
            return e.copyMusicalPartTo(s.list(18), s.partValue(), part());
        case 6:
            return e.deleteMusicalPart(part());
        case 7:
            return e.divideMusicalPart(part(), 1920 + 120 * s.num(0, 48));
        case 8:
            return e.mergeMusicalParts(part(), part());
        default:
            return e.extendMusicalPartHead(part(), 240 * s.num(-1, 4));
        }
    },
    [](RandomEditSong& s, IZRKorEditorIF& e) {
        const ZRProsodyVoiceValue voice{s.sec(), s.num(0, 2), 0};
        const ZRProsodyElementValue point{s.sec(), s.num(0, 99)};
        const ZRProsodyControlValue control{s.sec(), s.pick({5, 5, 2}), s.num(0, 99)};
        switch (s.num(0, 11)) {
        case 0:
            return e.updateProsodyVoice(s.id(Type::ProsodyVoice), voice);
        case 1:
            return e.moveProsodyVoice(s.id(Type::ProsodyVoice), voice);
        case 2:
            return e.insertProsodyVoice(s.list(12), voice);
        case 3:
            return e.deleteProsodyVoice(s.id(Type::ProsodyVoice));
        case 4:
            return e.updateProsodyElement(s.id(Type::ProsodyElement), point);
        case 5:
            return e.moveProsodyElement(s.id(Type::ProsodyElement), point);
        case 6:
            return e.insertProsodyElement(s.list(13), point);
        case 7:
            return e.deleteProsodyElement(s.id(Type::ProsodyElement));
        case 8:
            return e.updateProsodyControl(s.id(Type::ProsodyControl), control);
        case 9:
            return e.moveProsodyControl(s.id(Type::ProsodyControl), control);
        case 10:
            return e.insertProsodyControl(s.list(14), control);
        default:
            return e.deleteProsodyControl(s.id(Type::ProsodyControl));
        }
    },
    [](RandomEditSong& s, IZRKorEditorIF& e) {
        const ZRWAVPartValue v{s.tick(), s.pick({59, 720, 1440}), L"wav", L""};
        switch (s.num(0, 4)) {
        case 0:
            return e.updateWAVPart(s.id(Type::WAVPart), v);
        case 1:
            return e.moveWAVPart(s.id(Type::WAVPart), v);
        case 2:
            return e.insertWAVPartFromFile(
                s.list(21), s.tick(), s.dir.wide(s.pick({"a.wav", "missing.wav"})), s.num(0, 1));
        case 3:
            return e.importWAVPart(s.list(21), s.tick(),
                                   s.pick({s.imported.wav->getObjID(), s.id(Type::WAVPart)}));
        default:
            return e.deleteWAVPart(s.id(Type::WAVPart));
        }
    },
    [](RandomEditSong& s, IZRKorEditorIF& e) {
        const std::uint32_t tracks = s.list(23);
        switch (s.num(0, 5)) {
        case 0:
            return e.updateZRTrack(s.id(Type::ZRTrack), L"renamed", L"");
        case 1:
            return e.moveZRTrack(s.id(Type::ZRTrack), s.num(-1, 4));
        case 2:
            return e.insertZRTrack(tracks, s.num(-1, 4), L"new", L"");
        case 3:
            return e.copyZRTrack(tracks, s.num(-1, 4), s.id(Type::ZRTrack), L"copy");
        case 4:
            return e.importZRTrack(tracks, s.num(-1, 4),
                                   s.pick({s.imported.track->getObjID(), s.id(Type::ZRTrack)}));
        default:
            return e.deleteZRTrack(s.id(Type::ZRTrack));
        }
    },
};

} // namespace

// Random edits of every family, a few per editor, each group committed; then every commit is
// undone and redone, each state dumping (IDs included) exactly as it did after its commit.
TEST(EditProperty, UndoAndRedoPassThroughEveryCommittedState) {
    for (const unsigned seed : {1u, 2u, 3u}) {
        SCOPED_TRACE(seed);
        RandomEditSong s(seed);
        std::vector<std::wstring> dumps{s.song.dump()};
        ASSERT_EQ(s.firstInvalid(s.song.doc.root()), "");
        for (int group = 0; group < 100; ++group) {
            s.take();
            s.recent.clear();
            for (int edits = s.num(1, 4); edits > 0; --edits) {
                const int family = s.num(0, static_cast<int>(std::size(kFamilies)) - 1);
                const int result = kFamilies[family](s, *s.editor);
                // A failure leaves its code; a success clears it.
                ASSERT_EQ(result == 0, s.editor->getLastError() != 0) << group << " " << family;
            }
            ASSERT_EQ(s.song.dump(), dumps.back()) << "an edit reached the live song before commit";
            const bool pending = !s.editor->pending().empty();
            ASSERT_EQ(s.editor->commit(), 1) << group;
            ASSERT_EQ(s.editor->getLastError(), 0u);
            if (!pending) continue;
            dumps.push_back(s.song.dump());
            ASSERT_EQ(s.firstInvalid(s.song.doc.root()), "") << group;
            s.collectLive();
        }
        for (std::size_t n = dumps.size() - 1; n > 0; --n) {
            ASSERT_EQ(kor::undoAndNotify(s.history, s.host), 0u);
            ASSERT_EQ(s.song.dump(), dumps[n - 1]) << "undo to state " << n - 1;
        }
        for (std::size_t n = 1; n < dumps.size(); ++n) {
            ASSERT_EQ(kor::redoAndNotify(s.history, s.host), 0u);
            ASSERT_EQ(s.song.dump(), dumps[n]) << "redo to state " << n;
        }
        EXPECT_FALSE(s.history.canRedo());
    }
}
