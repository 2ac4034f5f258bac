#include "support/FailingAllocator.h"
#include "support/ManagerFixture.h"

#include <korman/IZRKorEditorIF.h>
#include "model/MutableKorObject.h"
#include <korman/korman.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

using kor::test::failAllocation;

namespace {

const std::wstring kFullSong = L"" KORMAN_TEST_DATA_DIR "/kor3/full.korx";
const std::wstring kLegacySong = L"" KORMAN_SAMPLES_DIR "/morning-walk.kor";
const std::wstring kMidiSong = L"" KORMAN_SAMPLES_DIR "/morning-walk.mid";

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
        ASSERT_EQ(manager.sysInitialize(kor::test::loadingPolicy()), 1);
    }

    // The whole song with its IDs.
    std::wstring song() const {
        std::wstring out;
        if (const auto* root = dynamic_cast<const IZRMutableKorObject*>(
                const_cast<CZRKorManagerIF&>(manager).korGetCurrentSequence()))
            root->dump(out, 1);
        return out;
    }

    // Everything a step may change: the song, and the history's position.
    std::wstring state() const {
        std::wstring out = song();
        out += L" point " + std::to_wstring(manager.editGetCurrentCommitPoint()) + L" undo " +
               std::to_wstring(manager.editCanUndo()) + L" redo " +
               std::to_wstring(manager.editCanRedo());
        return out;
    }

    IZRSequence* sequence() { return manager.korGetCurrentSequence()->getSequence(); }
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
        IZRZRTrack* track = first<IZRZRTrack>(sequence()->getZRTrackList());
        IZRMusicalPart* part = first<IZRMusicalPart>(track->getPartList());
        const std::uint32_t tempoID = master->getTempoList()->getAt(0)->getObjID();
        // Another track than the one whose notes change: its element record would cover them.
        IZRNodeList* tracks = sequence()->getZRTrackList();
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
        // A track move records the mixer's ZR units, so the history then holds copies of their
        // plug-in lists that the plug-in changes must carry along.
        moveTrack = {[=](IZRKorEditorIF& e) { return e.moveZRTrack(trackID, 0); }};
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
    std::vector<std::function<int(IZRKorEditorIF&)>> moveTrack;
    std::vector<std::function<int(IZRKorEditorIF&)>> movesAndInsert;
    std::vector<std::function<int(IZRKorEditorIF&)>> moves;
    const std::wstring name = L"a name long enough to live on the heap";
    const std::wstring comment = L"and a comment as long as that";
    const ZRNoteValue note{480, 240, 64, 100, L"la", {L"l", L"a"}, 1};
    const std::vector<int> params = std::vector<int>(64, 7);
    const ZRAux aux{name, comment};
    const std::wstring voiceID = L"FAKE0000VOICE000";
};

} // namespace

TEST_F(FailureAtomicity, EveryStepFailsWholeOrNotAtAll) {
    ASSERT_NE(manager.fileLoadKorFile(kFullSong.c_str()), nullptr);
    planEdits();
    kor::test::TempDir files;
    const std::wstring saved = files.wide("saved.korx");
    const std::wstring reference = files.wide("reference.korx");
    std::vector<ZRSMFTrackImportDirective> directives;
    ASSERT_GT(manager.fileGetSMFImportDirective(kMidiSong.c_str(), 0, directives), 0);
    // Imports read into the import buffer and leave the song alone.
    const std::vector<Step> script{
        {"import song", [&] { return manager.fileImportKorFile(kFullSong.c_str()) ? 1 : 0; }, {}},
        // The converters and the checks of a read song cannot tell a song object they failed to
        // make from a damaged file.
        {"import legacy song",
         [&] { return manager.fileImportLegacyKorFile(kLegacySong.c_str(), 0) ? 1 : 0; },
         {ZR_E_INVALID_KOR_FILE}},
        {"import MIDI",
         [&] { return manager.fileImportSMF(kMidiSong.c_str(), 1, 0, directives) ? 1 : 0; },
         {ZR_E_INVALID_KOR_FILE, ZR_E_INVALID_SMF}},
        {"edit and commit", [&] { return editGroup(notesAndTracks); }, {ZR_E_UPDATE_FAILED}},
        {"shift and divide", [&] { return editGroup(shiftAndDivide); }, {ZR_E_UPDATE_FAILED}},
        {"moves and insert", [&] { return editGroup(movesAndInsert); }, {ZR_E_UPDATE_FAILED}},
        {"moves", [&] { return editGroup(moves); }, {}},
        {"undo", [&] { return manager.editUndo(); }, {}},
        {"redo", [&] { return manager.editRedo(); }, {}},
        {"mixer", [&] { return manager.mixerSetMasterVol(-100); }, {0}},
        {"move track", [&] { return editGroup(moveTrack); }, {ZR_E_UPDATE_FAILED}},
        {"create plug-in",
         [&] { return manager.mixerCreateZRVstPlugin(0, 1, L"ECHO", name.c_str(), 2) ? 1 : 0; },
         {0}},
        {"plug-in values", [&] { return manager.mixerSetZRVstPluginParams(0, 1, params); }, {0}},
        {"remove plug-in", [&] { return manager.mixerRemoveZRVstPlugin(0, 1); }, {0}},
        {"undo the move", [&] { return manager.editUndo(); }, {}},
        {"insert VVoice",
         [&] { return manager.vvoiceInsertVVoice(2, 7, voiceID.c_str(), name.c_str(), {}); },
         {0}},
        {"insert its twin",
         [&] { return manager.vvoiceInsertVVoice(2, 8, voiceID.c_str(), name.c_str(), {}); },
         {0}},
        {"update VVoice",
         [&] { return manager.vvoiceUpdateVVoice(2, 7, comment.c_str(), {}); },
         {0}},
        {"remove VVoice", [&] { return manager.vvoiceRemoveVVoice(2, 7); }, {0}},
        {"add aux", [&] { return manager.auxAddAux(aux) ? 1 : 0; }, {0}},
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

// A load gives up the current song first, so a load that runs out of memory leaves no song; it
// must still answer the failure, leak nothing, and load the whole song once memory suffices.
TEST_F(FailureAtomicity, ALoadThatRunsOutOfMemoryLeavesNoSongAndLeaksNothing) {
    ASSERT_NE(manager.fileLoadKorFile(kFullSong.c_str()), nullptr);
    const std::wstring loaded = song();
    const auto openFiles = [] {
        return std::distance(std::filesystem::directory_iterator("/proc/self/fd"), {});
    };
    const auto filesBefore = openFiles();
    for (std::uint64_t n = 1;; n += n < 300 ? 1 : n / 8) {
        failAllocation(n);
        const IZRKorRoot* root = manager.fileLoadKorFile(kFullSong.c_str());
        failAllocation(0);
        if (!kor::test::allocationFailed()) {
            ASSERT_NE(root, nullptr);
            break;
        }
        ASSERT_EQ(root, nullptr) << "at allocation " << n;
        EXPECT_EQ(manager.sysGetLastError(), ZR_E_NOT_ENOUGH_MEMORY) << "at allocation " << n;
        ASSERT_EQ(manager.korGetCurrentSequence(), nullptr);
    }
    EXPECT_EQ(song(), loaded);
    EXPECT_EQ(openFiles(), filesBefore);
}
