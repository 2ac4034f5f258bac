#include "support/ManagerFixture.h"
#include "support/TempDir.h"

#include <korman/korman.h>

#include <fstream>
#include <string>
#include <vector>

using kor::test::validPolicy;

namespace {

// A window that only counts what it is sent, deleting each list as a receiver must.
struct CountingWindow final : IZRMessageWindow {
    void postMessage(std::uint32_t, std::uintptr_t, std::intptr_t lParam) override {
        delete reinterpret_cast<std::vector<std::uint32_t>*>(lParam);
        ++messages;
    }
    int messages = 0;
};

struct Heard {
    ZRChangeCause cause;
    std::vector<ZRChange> changes;
    std::wstring label;
};

class HostHelpers : public kor::test::ManagerTest {
protected:
    void SetUp() override {
        ManagerTest::SetUp();
        ASSERT_EQ(manager.sysInitialize(validPolicy()), 1);
        ASSERT_NE(manager.korCreateNewSequenceWithMusicalPart(L"Song", L"", 1, L"Verse", L"", 7680),
                  nullptr);
        part = manager.korGetCurrentSequence()
                   ->getSequence()
                   ->getZRTrack(0)
                   ->getPartList()
                   ->at<IZRMusicalPart>(0);
        ASSERT_NE(part, nullptr);
    }

    /// Inserts a note at `pos` through a new editor and commits it under `label`; its ID.
    std::uint32_t commitNote(std::int32_t pos, const wchar_t* label = nullptr) {
        IZRKorEditorIF* editor = manager.editGetKorEditor(5);
        EXPECT_EQ(editor->insertNote(part->getNoteList()->getObjID(),
                                     {pos, 480, 60, 64, L"la", {L"l", L"a"}, 0}),
                  1);
        const std::uint32_t id = editor->getLastInsertedID();
        EXPECT_EQ(label != nullptr ? editor->commit(label) : editor->commit(), 1);
        manager.editReleaseKorEditor(editor);
        return id;
    }

    const ZRChange* find(const Heard& heard, std::uint32_t objID) {
        for (const ZRChange& change : heard.changes)
            if (change.objID == objID) return &change;
        return nullptr;
    }

    CZRKorManagerIF manager;
    IZRMusicalPart* part = nullptr;
};

} // namespace

TEST_F(HostHelpers, InsertsTellTheirObjectsWhichValueOfAndTypedWalksReadBack) {
    IZRKorEditorIF* editor = manager.editGetKorEditor(1);
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->getLastInsertedID(), ZR_NO_OBJ_ID);
    const std::uint32_t notes = part->getNoteList()->getObjID();
    const ZRNoteValue first{0, 480, 60, 90, L"Morn", {L"m", L"O", L"n"}, 1};
    ASSERT_EQ(editor->insertNote(notes, first), 1);
    const std::uint32_t firstID = editor->getLastInsertedID();
    EXPECT_EQ(editor->insertNote(notes, {0, 0, 60, 64, L"x", {L"a"}, 0}), 0); // length 0
    EXPECT_EQ(editor->getLastInsertedID(), ZR_NO_OBJ_ID);
    ASSERT_EQ(editor->insertNoteWithStyle(notes, {480, 240, 62, 64, L"ing", {L"i", L"N"}, 0},
                                          {10, 20, 1, 0, 30, 40, 50}, {1, 50, 0}),
              1);
    const std::uint32_t secondID = editor->getLastInsertedID();
    // An insert onto the head tempo's tick gives that tempo the value: its ID is answered.
    const std::uint32_t head =
        manager.korGetCurrentMasterTrack()->getTempoList()->getAt(0)->getObjID();
    ASSERT_EQ(editor->insertTempo({0, 9000}), 1);
    EXPECT_EQ(editor->getLastInsertedID(), head);
    std::vector<std::uint32_t> ids;
    editor->getInsertedIDs(ids);
    EXPECT_EQ(ids, (std::vector<std::uint32_t>{firstID, secondID, head}));
    ASSERT_EQ(editor->commit(), 1);
    editor->getInsertedIDs(ids);
    EXPECT_EQ(ids.size(), 3u); // the IDs name the committed objects
    manager.editReleaseKorEditor(editor);

    auto* note = dynamic_cast<IZRMusicalNote*>(manager.korGetKorObject(firstID));
    ASSERT_NE(note, nullptr);
    const ZRNoteValue read = kor::valueOf(*note);
    EXPECT_EQ(read.posTick, first.posTick);
    EXPECT_EQ(read.noteNum, first.noteNum);
    EXPECT_EQ(read.velocity, first.velocity);
    EXPECT_EQ(read.lyric, first.lyric);
    EXPECT_EQ(read.phonemes, first.phonemes);
    EXPECT_EQ(read.phLock, 1);
    auto* styled = dynamic_cast<IZRMusicalNote*>(manager.korGetKorObject(secondID));
    ASSERT_NE(styled, nullptr);
    ASSERT_NE(styled->getNoteStyle(), nullptr);
    const ZRNoteStyleValue style = kor::valueOf(*styled->getNoteStyle());
    EXPECT_EQ(style.bendDep, 10);
    EXPECT_EQ(style.opening, 50);
    const ZRVibratoValue vibrato = kor::vibratoOf(*styled);
    EXPECT_EQ(vibrato.enabled, 1);
    EXPECT_EQ(vibrato.length, 50);
    EXPECT_EQ(kor::vibratoOf(*note).enabled, 0);
    const ZRMusicalPartValue partValue = kor::valueOf(*part);
    EXPECT_EQ(partValue.posTick, 1920);
    EXPECT_EQ(partValue.playTime, 7680);
    EXPECT_EQ(partValue.name, L"Verse");

    // A transposition through valueOf keeps every other field.
    editor = manager.editGetKorEditor(1);
    for (IZRMusicalNote* each : kor::elements<IZRMusicalNote>(part->getNoteList())) {
        ZRNoteValue value = kor::valueOf(*each);
        value.noteNum += 2;
        ASSERT_EQ(editor->updateNote(each->getObjID(), value), 1);
    }
    ASSERT_EQ(editor->commit(), 1);
    manager.editReleaseKorEditor(editor);
    std::vector<std::int32_t> pitches;
    for (IZRMusicalNote* each : kor::elements<IZRMusicalNote>(part->getNoteList()))
        pitches.push_back(each->getNoteNum());
    EXPECT_EQ(pitches, (std::vector<std::int32_t>{62, 64}));
    EXPECT_EQ(note->getLyric(), L"Morn");
    EXPECT_EQ(note->getPhLock(), 1);

    // Typed access answers null, never a wrong pointer, and a null list walks as empty.
    EXPECT_EQ(part->getNoteList()->at<IZRTempo>(0), nullptr);
    EXPECT_EQ(part->getNoteList()->at<IZRMusicalNote>(2), nullptr);
    const IZRSequence* sequence = manager.korGetCurrentSequence()->getSequence();
    EXPECT_EQ(sequence->getZRTrackCount(), 1u);
    EXPECT_EQ(sequence->getZRTrack(1), nullptr);
    int walked = 0;
    for ([[maybe_unused]] IZRTempo* tempo : kor::elements<IZRTempo>(nullptr))
        ++walked;
    for ([[maybe_unused]] IZRTempo* tempo : kor::elements<IZRTempo>(part->getNoteList()))
        ++walked;
    EXPECT_EQ(walked, 0);
}

TEST_F(HostHelpers, ChangeObserversHearKindsFlagsAndLabelsAndCanBeRemoved) {
    CountingWindow window;
    ASSERT_EQ(manager.sysRegisterObserver(&window), 1);
    std::vector<Heard> heard;
    const std::uint32_t handle =
        manager.sysRegisterChangeObserver([&heard](const ZRChangeReport& report) {
            heard.push_back({report.cause, report.changes, report.label});
        });
    ASSERT_NE(handle, 0u);
    EXPECT_STREQ(manager.editGetUndoText(), L"");

    const std::uint32_t note = commitNote(0, L"Add a note");
    ASSERT_EQ(heard.size(), 1u);
    EXPECT_EQ(heard[0].cause, ZRChangeCause::Commit);
    EXPECT_EQ(heard[0].label, L"Add a note");
    const ZRChange* inserted = find(heard[0], note);
    ASSERT_NE(inserted, nullptr);
    EXPECT_EQ(inserted->kind, ZRChangeKind::Inserted);
    EXPECT_EQ(inserted->flags, ZR_CHANGE_INSERTED | ZR_CHANGE_MUSICAL);
    const ZRChange* list = find(heard[0], part->getNoteList()->getObjID());
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->kind, ZRChangeKind::Updated);
    EXPECT_STREQ(manager.editGetUndoText(), L"Add a note");
    EXPECT_STREQ(manager.editGetRedoText(), L"");

    ASSERT_EQ(manager.editUndo(), 1);
    ASSERT_EQ(heard.size(), 2u);
    EXPECT_EQ(heard[1].cause, ZRChangeCause::Undo);
    EXPECT_EQ(heard[1].label, L"Add a note");
    ASSERT_NE(find(heard[1], note), nullptr);
    EXPECT_EQ(find(heard[1], note)->kind, ZRChangeKind::Deleted); // as seen after the undo
    EXPECT_STREQ(manager.editGetUndoText(), L"");
    EXPECT_STREQ(manager.editGetRedoText(), L"Add a note");
    ASSERT_EQ(manager.editUndo(), 1); // nothing to undo: an empty report
    EXPECT_TRUE(heard.back().changes.empty());
    ASSERT_EQ(manager.editRedo(), 1);
    EXPECT_EQ(heard.back().cause, ZRChangeCause::Redo);
    EXPECT_EQ(find(heard.back(), note)->kind, ZRChangeKind::Inserted);

    // An unlabelled commit: an update, reported with an empty label.
    IZRKorEditorIF* editor = manager.editGetKorEditor(5);
    ASSERT_EQ(editor->updateNote(note, {0, 960, 61, 64, L"la", {L"a"}, 0}), 1);
    ASSERT_EQ(editor->commit(), 1);
    manager.editReleaseKorEditor(editor);
    ASSERT_NE(find(heard.back(), note), nullptr);
    EXPECT_EQ(find(heard.back(), note)->flags & ZR_CHANGE_INSERTED, 0u);
    EXPECT_EQ(find(heard.back(), note)->kind, ZRChangeKind::Updated);
    EXPECT_EQ(heard.back().label, L"");
    EXPECT_STREQ(manager.editGetUndoText(), L"");

    // Removing observers: each hears nothing more; a second removal is refused.
    const int messages = window.messages;
    const std::size_t reports = heard.size();
    ASSERT_EQ(manager.sysUnregisterObserver(&window), 1);
    ASSERT_EQ(manager.sysUnregisterChangeObserver(handle), 1);
    commitNote(1920);
    EXPECT_EQ(window.messages, messages);
    EXPECT_EQ(heard.size(), reports);
    EXPECT_EQ(manager.sysUnregisterObserver(&window), 0);
    EXPECT_EQ(manager.sysGetLastError(), ZR_E_INVALID_PARAMETER);
    EXPECT_EQ(manager.sysUnregisterChangeObserver(handle), 0);
    EXPECT_NE(std::wstring(manager.sysGetLastErrorMsg()).find(L"handle"), std::wstring::npos);
    EXPECT_EQ(manager.sysRegisterChangeObserver(nullptr), 0u);
    EXPECT_EQ(manager.sysGetLastError(), ZR_E_INVALID_PARAMETER);

    // An observer cannot remove itself while it is being told: the list it runs in stays whole.
    std::uint32_t self = 0;
    int refused = -1;
    self = manager.sysRegisterChangeObserver(
        [&](const ZRChangeReport&) { refused = manager.sysUnregisterChangeObserver(self); });
    commitNote(2880);
    EXPECT_EQ(refused, 0);
    EXPECT_EQ(manager.sysUnregisterChangeObserver(self), 1);
}

TEST_F(HostHelpers, FileIsModifiedFollowsCommitsUndoSaveAndChangesOutsideTheEditor) {
    const kor::test::TempDir folder;
    EXPECT_EQ(manager.fileIsModified(), 0);
    commitNote(0);
    EXPECT_EQ(manager.fileIsModified(), 1);
    ASSERT_EQ(manager.editUndo(), 1);
    EXPECT_EQ(manager.fileIsModified(), 0); // back at the state it was created in
    ASSERT_EQ(manager.editRedo(), 1);
    ASSERT_EQ(manager.fileSaveKorFile(folder.wide("song.korx").c_str()), 1);
    EXPECT_EQ(manager.fileIsModified(), 0);
    ASSERT_EQ(manager.editUndo(), 1);
    EXPECT_EQ(manager.fileIsModified(), 1); // the saved state had the note
    ASSERT_EQ(manager.editRedo(), 1);
    ASSERT_EQ(manager.mixerSetMasterVol(10), 1);
    EXPECT_EQ(manager.fileIsModified(), 1);
    ASSERT_NE(manager.fileLoadKorFile(folder.wide("song.korx").c_str()), nullptr);
    EXPECT_EQ(manager.fileIsModified(), 0);
    manager.korDestroySequence();
    EXPECT_EQ(manager.fileIsModified(), 0);
    EXPECT_EQ(manager.sysGetLastError(), ZR_E_NO_SEQUENCE);
}

TEST_F(HostHelpers, FileLoadAnyLoadsEveryKindAndNamesAFileOfNoKind) {
    const kor::test::TempDir folder;
    commitNote(0);
    ASSERT_EQ(manager.fileSaveKorFile(folder.wide("song.korx").c_str()), 1);
    ASSERT_EQ(manager.fileExportSMF(folder.wide("song.mid").c_str(), {}), 1);
    folder.write("notes.txt", "not a song");

    ASSERT_NE(manager.fileLoadAny(folder.wide("song.mid").c_str(), 2), nullptr);
    EXPECT_EQ(manager.fileGetCurrentFileFormat(), ZR_FILE_FORMAT_SMF1);
    EXPECT_EQ(manager.korGetCurrentMasterTrack()->getPreMeasure(), 2);
    ASSERT_NE(manager.fileLoadAny(folder.wide("song.korx").c_str()), nullptr);
    EXPECT_EQ(manager.fileGetCurrentFileFormat(), ZR_FILE_FORMAT_KOR3);
    const IZRZRTrack* track = manager.korGetCurrentSequence()->getSequence()->getZRTrack(0);
    ASSERT_NE(track, nullptr);
    const auto* loaded = track->getPartList()->at<IZRMusicalPart>(0);
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(loaded->getNoteList()->getCount(), 1u);

    EXPECT_EQ(manager.fileLoadAny(folder.wide("notes.txt").c_str()), nullptr);
    EXPECT_EQ(manager.sysGetLastError(), ZR_E_INVALID_KOR_FILE);
    EXPECT_NE(std::wstring(manager.sysGetLastErrorMsg()).find(L"notes.txt"), std::wstring::npos);
    EXPECT_EQ(manager.fileLoadAny(folder.wide("missing.korx").c_str()), nullptr);
    EXPECT_EQ(manager.sysGetLastError(), ZR_E_FILE_NOT_FOUND);
    EXPECT_EQ(manager.fileLoadAny(nullptr), nullptr);
    EXPECT_EQ(manager.sysGetLastError(), ZR_E_INVALID_PARAMETER);
}

TEST_F(HostHelpers, CommitEditsMakesOneUndoStepOrNothingAndSaysWhy) {
    const std::uint32_t notes = part->getNoteList()->getObjID();
    std::wstring why = L"stale";
    EXPECT_EQ(kor::commitEdits(
                  manager, L"Two notes",
                  [&](IZRKorEditorIF& editor) {
                      return editor.insertNote(notes, {0, 480, 60, 64, L"a", {L"a"}, 0}) &&
                             editor.insertNote(notes, {480, 480, 62, 64, L"b", {L"b"}, 0});
                  },
                  &why),
              0u);
    EXPECT_TRUE(why.empty());
    EXPECT_EQ(part->getNoteList()->getCount(), 2u);
    EXPECT_STREQ(manager.editGetUndoText(), L"Two notes");

    // A failing edit: nothing of the group reaches the song, and the editor's message is kept.
    EXPECT_EQ(kor::commitEdits(
                  manager, L"Broken",
                  [&](IZRKorEditorIF& editor) {
                      return editor.insertNote(notes, {960, 480, 64, 64, L"c", {L"c"}, 0}) &&
                             editor.insertNote(notes, {1440, 480, 200, 64, L"d", {L"d"}, 0});
                  },
                  &why),
              ZR_E_INVALID_NOTE_NUMBER);
    EXPECT_NE(why.find(L"200"), std::wstring::npos);
    EXPECT_EQ(part->getNoteList()->getCount(), 2u);
    EXPECT_EQ(kor::commitEdits(manager, nullptr, [](IZRKorEditorIF&) { return false; }),
              ZR_E_UPDATE_FAILED);

    // While another editor is out, the manager's refusal is answered.
    IZRKorEditorIF* held = manager.editGetKorEditor(9);
    EXPECT_EQ(kor::commitEdits(
                  manager, nullptr, [](IZRKorEditorIF&) { return true; }, &why),
              ZR_E_EDIT_CONFLICT);
    EXPECT_FALSE(why.empty());
    manager.editReleaseKorEditor(held);
    EXPECT_STREQ(manager.editGetUndoText(), L"Two notes");
}
