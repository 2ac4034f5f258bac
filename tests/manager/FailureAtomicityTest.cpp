#include "support/FailingAllocator.h"
#include "support/ManagerFixture.h"

#include <korman/IZRKorEditorIF.h>
#include <korman/IZRMutableKorObject.h>
#include <korman/korman.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

using kor::test::failAllocation;

namespace {

const std::wstring kFullSong = L"" KORMAN_TEST_DATA_DIR "/kor3/full.korx";

// A script step through the public API: its result (nonzero on success) and the error codes
// besides running out of memory it may answer when an allocation fails.
struct Step {
    const char* name;
    std::function<int()> run;
    std::vector<std::uint32_t> ownCodes;
    // For a step that can be repeated: whether what it did is right although an allocation
    // failed on the way (a caller may fall back, as the file system calls do). Unset: the step
    // must report every failure.
    std::function<bool()> rightDespiteFailure = nullptr;
};

class FailureAtomicity : public kor::test::ManagerTest {
protected:
    void SetUp() override {
        ManagerTest::SetUp();
        ZRKorManagementPolicy policy = kor::test::validPolicy();
        policy.schemaFolder = L"" KORMAN_SCHEMA_DIR;
        ASSERT_EQ(manager.sysInitialize(policy), 1);
    }

    // Everything a step may change: the whole song with its IDs, and the history's position.
    std::wstring state() const {
        std::wstring out;
        if (const auto* root = dynamic_cast<const IZRMutableKorObject*>(
                const_cast<CZRKorManagerIF&>(manager).korGetCurrentSequence()))
            root->dump(out, 1);
        out += L" point " + std::to_wstring(manager.editGetCurrentCommitPoint()) + L" undo " +
               std::to_wstring(manager.editCanUndo()) + L" redo " +
               std::to_wstring(manager.editCanRedo());
        return out;
    }

    IZRSequence* song() { return manager.korGetCurrentSequence()->getSequence(); }
    template <class T> T* first(IZRNodeList* list) {
        for (std::uint32_t i = 0; list != nullptr && i < list->getCount(); ++i)
            if (auto* obj = dynamic_cast<T*>(list->getAt(i))) return obj;
        return nullptr;
    }

    // One commit group with an element and a list record of the master track, the tracks, the
    // parts and the notes; made up front, so that the script allocates nothing of its own while
    // an allocation is set to fail.
    void planEdits() {
        IZRMasterTrack* master = manager.korGetCurrentMasterTrack();
        IZRZRTrack* track = first<IZRZRTrack>(song()->getZRTrackList());
        IZRMusicalPart* part = first<IZRMusicalPart>(track->getPartList());
        const std::uint32_t tempoID = master->getTempoList()->getAt(0)->getObjID();
        // Another track than the one whose notes change: its element record would cover them.
        IZRNodeList* tracks = song()->getZRTrackList();
        const std::uint32_t trackID = tracks->getAt(tracks->getCount() - 1)->getObjID();
        const std::uint32_t notesID = part->getNoteList()->getObjID();
        const std::uint32_t controlsID = part->getControlList(0)->getObjID();
        const std::uint32_t masterID = master->getObjID();
        const std::uint32_t partID = part->getObjID();
        notesAndTracks = {
            [](IZRKorEditorIF& e) {
                return e.insertTempo({3840, 9000});
            },
            [=](IZRKorEditorIF& e) {
                return e.updateTempo(tempoID, {0, 15000});
            },
            [=, this](IZRKorEditorIF& e) { return e.updateZRTrack(trackID, name, comment); },
            [=, this](IZRKorEditorIF& e) { return e.insertNote(notesID, note); },
            [=](IZRKorEditorIF& e) {
                return e.insertMusicalControl(controlsID, {240, 0, 64});
            },
        };
        // Moves alone, whose record holds the moved notes only, and moves widened to the whole
        // note list by an insert into it.
        IZRNodeList* notes = part->getNoteList();
        const std::uint32_t firstNote = notes->getAt(0)->getObjID();
        const std::uint32_t lastNote = notes->getAt(notes->getCount() - 1)->getObjID();
        moves = {
            [=, moved = later(note, 1200)](IZRKorEditorIF& e) {
                return e.moveNote(firstNote, moved);
            },
            [=, this](IZRKorEditorIF& e) { return e.moveNote(lastNote, note); },
        };
        movesAndInsert = {
            [=, moved = later(note, 960)](IZRKorEditorIF& e) {
                return e.moveNote(lastNote, moved);
            },
            [=, added = later(note, 1440)](IZRKorEditorIF& e) {
                return e.insertNote(notesID, added);
            },
        };
        // The pre-measure shift and a divide: records over the master track and a part list.
        shiftAndDivide = {
            [=](IZRKorEditorIF& e) { return e.divideMusicalPart(partID, 3840); },
            [=](IZRKorEditorIF& e) { return e.setPreMeasure(masterID, 3); },
        };
    }

    static ZRNoteValue later(ZRNoteValue value, std::int32_t ticks) {
        value.posTick += ticks;
        return value;
    }

    // Runs the planned edits and commits them; an edit that fails abandons the group, as a host
    // would.
    int editGroup(const std::vector<std::function<int(IZRKorEditorIF&)>>& edits) {
        IZRKorEditorIF* editor = manager.editGetKorEditor(1);
        if (editor == nullptr) return 0;
        int result = 1;
        for (const auto& edit : edits)
            if (result = edit(*editor); result == 0) break;
        if (result != 0) result = editor->commit();
        lastEditorError = editor->getLastError();
        if (result == 0) editor->discard();
        manager.editReleaseKorEditor(editor);
        return result;
    }

    // Runs `step` with the 1st, 2nd, 3rd ... allocation failing until it runs through, sampling
    // ever more sparsely past the first few hundred. After each failure the call must have
    // answered it and left everything as it was.
    void sweep(const Step& step) {
        for (std::uint64_t n = 1;; n += n < 300 ? 1 : n / 8) {
            const std::wstring before = state();
            lastEditorError = 0;
            failAllocation(n);
            const int result = step.run();
            failAllocation(0);
            if (!kor::test::allocationFailed()) {
                ASSERT_NE(result, 0)
                    << step.name << " fails without running out of memory: " << std::hex
                    << manager.sysGetLastError() << " " << lastEditorError;
                return;
            }
            if (result != 0) {
                ASSERT_TRUE(step.rightDespiteFailure && step.rightDespiteFailure())
                    << step.name << " succeeded wrongly at allocation " << n;
                continue;
            }
            const std::uint32_t code =
                lastEditorError != 0 ? lastEditorError : manager.sysGetLastError();
            const bool known =
                code == ZR_E_NOT_ENOUGH_MEMORY ||
                std::find(step.ownCodes.begin(), step.ownCodes.end(), code) != step.ownCodes.end();
            EXPECT_TRUE(known) << step.name << " at allocation " << n << " answered " << std::hex
                               << code;
            ASSERT_EQ(state(), before) << step.name << " at allocation " << n;
        }
    }

    CZRKorManagerIF manager;
    std::uint32_t lastEditorError = 0;
    std::vector<std::function<int(IZRKorEditorIF&)>> notesAndTracks;
    std::vector<std::function<int(IZRKorEditorIF&)>> shiftAndDivide;
    std::vector<std::function<int(IZRKorEditorIF&)>> movesAndInsert;
    std::vector<std::function<int(IZRKorEditorIF&)>> moves;
    const std::wstring name = L"a name long enough to live on the heap";
    const std::wstring comment = L"and a comment as long as that";
    const ZRNoteValue note{480, 240, 64, 100, L"la", {L"l", L"a"}, 1};
};

} // namespace

TEST_F(FailureAtomicity, EveryStepFailsWholeOrNotAtAll) {
    // The load is not swept: Xerces leaks the buffers of a scan that runs out of memory, and
    // cannot recover from running out while it first sets up its platform.
    ASSERT_NE(manager.fileLoadKorFile(kFullSong.c_str()), nullptr);
    planEdits();
    kor::test::TempDir files;
    const std::wstring saved = files.wide("saved.korx");
    const std::wstring reference = files.wide("reference.korx");
    const std::vector<Step> script{
        {"edit and commit", [&] { return editGroup(notesAndTracks); }, {ZR_E_UPDATE_FAILED}},
        {"shift and divide", [&] { return editGroup(shiftAndDivide); }, {ZR_E_UPDATE_FAILED}},
        {"moves and insert", [&] { return editGroup(movesAndInsert); }, {ZR_E_UPDATE_FAILED}},
        {"moves", [&] { return editGroup(moves); }, {}},
        {"undo", [&] { return manager.editUndo(); }, {}},
        {"redo", [&] { return manager.editRedo(); }, {}},
        {"mixer", [&] { return manager.mixerSetMasterVol(-100); }, {0}},
        {"save",
         [&] { return manager.fileSaveKorFile(saved.c_str()); },
         {ZR_E_CANNOT_SAVE_FILE},
         [&] { return files.read("saved.korx") == files.read("reference.korx"); }},
    };
    for (const Step& step : script) {
        if (step.rightDespiteFailure) {
            ASSERT_EQ(manager.fileSaveKorFile(reference.c_str()), 1);
        }
        ASSERT_NO_FATAL_FAILURE(sweep(step));
    }
}
