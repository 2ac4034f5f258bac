// A host holds pointers to every object of a loaded song while it edits, commits, undoes, redoes,
// changes the mixer, the VVoices and the aux records, and trims the history; each pointer to an
// object still in the song must be the object its ID names.
#include "support/ManagerFixture.h"

#include <korman/IZRKorEditorIF.h>
#include <korman/korman.h>

#include <algorithm>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

const std::wstring kFullSong = L"" KORMAN_TEST_DATA_DIR "/kor3/full.korx";

class HeldPointers : public kor::test::ManagerTest {
protected:
    /// Initializes a manager keeping `undoLimit` commits and loads the song holding every kind.
    void start(int undoLimit) {
        ZRKorManagementPolicy policy = kor::test::loadingPolicy();
        policy.undoLimit = undoLimit;
        manager = std::make_unique<CZRKorManagerIF>();
        ASSERT_EQ(manager->sysInitialize(policy), 1);
        ASSERT_NE(manager->fileLoadKorFile(kFullSong.c_str()), nullptr);
        held.clear();
        take();
    }

    /// Holds every object of the song that is not held yet, as a host walking it would.
    void take() {
        std::vector<IZRMutableKorObject*> pending{
            dynamic_cast<IZRMutableKorObject*>(manager->korGetCurrentSequence())};
        while (!pending.empty()) {
            IZRMutableKorObject* obj = pending.back();
            pending.pop_back();
            held.emplace(obj->getObjID(), obj);
            obj->getChildren(pending);
        }
    }

    /// The number of held objects the song still holds; fails the test for any that the song
    /// holds under another address.
    std::size_t expectHeldAreLive(const std::string& step) {
        std::size_t live = 0;
        for (const auto& [objID, obj] : held) {
            const IZRKorObject* now = manager->korGetKorObject(objID);
            if (now == nullptr) continue;
            ++live;
            EXPECT_EQ(now, obj) << step << ": object " << objID << " was replaced";
        }
        take();
        return live;
    }

    /// The ID of the first held object of `type` that is in the song.
    std::uint32_t first(ZRObjType type) const {
        for (const auto& [objID, obj] : held)
            if (obj->getObjType() == type && manager->korGetKorObject(objID) != nullptr)
                return objID;
        ADD_FAILURE() << "the song holds no object of type " << static_cast<int>(type);
        return ZR_NO_OBJ_ID;
    }
    template <class T> T* live(ZRObjType type) const {
        return dynamic_cast<T*>(manager->korGetKorObject(first(type)));
    }
    /// The ID of the node list of `elementType` that holds the first element of that type.
    std::uint32_t listOf(ZRObjType elementType) const {
        return live<IZRKorObject>(elementType)->getParent()->getObjID();
    }

    /// Runs one edit through its own editor and commits it.
    void commitEdit(const std::string& name, const std::function<int(IZRKorEditorIF&)>& edit) {
        IZRKorEditorIF* editor = manager->editGetKorEditor(1);
        ASSERT_NE(editor, nullptr) << name;
        EXPECT_EQ(edit(*editor), 1) << name << ": " << editor->getLastError();
        EXPECT_EQ(editor->commit(), 1) << name;
        manager->editReleaseKorEditor(editor);
        expectHeldAreLive(name);
    }

    std::unique_ptr<CZRKorManagerIF> manager;
    std::map<std::uint32_t, IZRMutableKorObject*> held;
};

using T = ZRObjType;

} // namespace

TEST_F(HeldPointers, StayTheLiveObjectsThroughEveryEditUndoRedoAndTrim) {
    for (const int undoLimit : {-1, 1, 2}) {
        SCOPED_TRACE(undoLimit);
        start(undoLimit);
        const std::size_t objects = held.size();
        IZRMusicalNote* note = live<IZRMusicalNote>(T::MusicalNote);
        ASSERT_NE(note, nullptr);
        const std::int32_t key = note->getNoteNum();
        int commits = 0;
        const auto edit = [&](const std::string& name, std::function<int(IZRKorEditorIF&)> op) {
            commitEdit(name, op);
            ++commits;
        };

        edit("note", [&](IZRKorEditorIF& e) {
            ZRNoteValue v{note->getPosTick(), note->getDurTick(), key + 2, 64, L"la", {L"l", L"a"}};
            return e.updateNote(note->getObjID(), v);
        });
        EXPECT_EQ(note->getNoteNum(), key + 2) << "the held note shows the committed pitch";
        edit("note list", [&](IZRKorEditorIF& e) {
            return e.insertNote(listOf(T::MusicalNote), {1920, 240, 65, 64, L"ra", {L"r", L"a"}});
        });
        edit("tempo", [&](IZRKorEditorIF& e) { return e.insertTempo({2880, 9000}); });
        edit("time signature", [&](IZRKorEditorIF& e) { return e.insertTimeSig({3, 3, 4}); });
        const auto* voice = live<IZRVVoice>(T::VVoice);
        ASSERT_NE(voice, nullptr);
        edit("singer", [&](IZRKorEditorIF& e) {
            const auto* singer = live<IZRMusicalSinger>(T::MusicalSinger);
            return e.updateSinger(singer->getObjID(),
                                  {singer->getPosTick(), voice->getVBS(), voice->getVPC()});
        });
        edit("musical control", [&](IZRKorEditorIF& e) {
            return e.insertMusicalControl(listOf(T::MusicalControl), {960, 0, 100});
        });
        edit("note style", [&](IZRKorEditorIF& e) {
            return e.updateNoteStyleAttrib(first(T::NoteStyleAttrib), {8, 0, 1, 0, 50, 50, 127});
        });
        edit("curve point", [&](IZRKorEditorIF& e) {
            return e.insertNoteStyleSeqAttribElement(listOf(T::NoteStyleSeqAttribElement),
                                                     {65536 / 8, 64});
        });
        edit("part", [&](IZRKorEditorIF& e) {
            const auto* part = live<IZRMusicalPart>(T::MusicalPart);
            return e.updateMusicalPart(part->getObjID(),
                                       {part->getPosTick(), part->getPlayTime(), L"renamed", L""});
        });
        edit("prosody", [&](IZRKorEditorIF& e) {
            return e.insertProsodyElement(listOf(T::ProsodyElement), {65536 / 2, 10});
        });
        edit("WAV part", [&](IZRKorEditorIF& e) {
            const auto* wav = live<IZRWAVPart>(T::WAVPart);
            return e.updateWAVPart(wav->getObjID(),
                                   {wav->getPosTick(), wav->getPlayTime(), L"clap", L""});
        });
        edit("ZR tracks", [&](IZRKorEditorIF& e) {
            return e.copyZRTrack(listOf(T::ZRTrack), 1, first(T::ZRTrack), L"copy");
        });
        // Changes outside the history, between commits.
        EXPECT_EQ(manager->mixerSetZRPan(0, 10), 1);
        ASSERT_NE(manager->auxAddAux({L"id", L"content"}), nullptr);
        EXPECT_EQ(manager->vvoiceUpdateVVoice(voice->getVBS(), voice->getVPC(), L"renamed", {}), 1);
        expectHeldAreLive("mixer, aux and VVoice");

        // The note the second commit inserted: the newest.
        const auto inserted = std::find_if(held.rbegin(), held.rend(), [](const auto& entry) {
            return entry.second->getObjType() == T::MusicalNote;
        });
        const IZRKorObject* deleted = inserted->second;
        const std::uint32_t deletedID = inserted->first;
        edit("deleted note", [&](IZRKorEditorIF& e) { return e.deleteNote(deletedID); });
        EXPECT_EQ(manager->korGetKorObject(deletedID), nullptr);
        if (undoLimit == -1) {
            // The history keeps what an edit deleted: the host may still read it (and undo brings
            // back that very object, below).
            EXPECT_EQ(deleted->getObjID(), deletedID);
        }

        const int undoable = undoLimit < 0 ? commits : undoLimit;
        for (int n = 0; n < undoable; ++n) {
            ASSERT_EQ(manager->editUndo(), 1);
            expectHeldAreLive("undo " + std::to_string(n));
            if (n == 0) {
                EXPECT_EQ(manager->korGetKorObject(deletedID), deleted);
            }
        }
        EXPECT_EQ(manager->editCanUndo(), 0);
        if (undoLimit == -1) {
            EXPECT_EQ(note->getNoteNum(), key) << "the held note shows the pitch undone";
            EXPECT_EQ(expectHeldAreLive("all undone"), objects + 1) << "the song as loaded, aux";
        }
        for (int n = 0; n < undoable; ++n) {
            ASSERT_EQ(manager->editRedo(), 1);
            expectHeldAreLive("redo " + std::to_string(n));
        }
        EXPECT_EQ(note->getNoteNum(), key + 2);

        // A load replaces the document: the host takes its pointers anew.
        ASSERT_NE(manager->fileLoadKorFile(kFullSong.c_str()), nullptr);
        held.clear();
        take();
        EXPECT_EQ(held.size(), objects);
        expectHeldAreLive("load");
    }
}
