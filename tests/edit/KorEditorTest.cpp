#include "edit/KorEditorIF.h"

#include "edit/EditRecords.h"
#include "support/EditSong.h"

#include <gtest/gtest.h>

#include <functional>
#include <utility>

namespace {

struct EditorFixture {
    EditSong song;
    TestHost host;
    CZRCommitHistory history{-1};
    std::unique_ptr<CZRKorEditorIF> editor;

    explicit EditorFixture(std::int32_t limit = -1,
                           CZRCommitHistory::HeadroomCheck check = kor::platform::hasHeadroomFor)
        : history(limit, std::move(check)) {
        take();
    }
    void take() {
        editor = std::make_unique<CZRKorEditorIF>(host, ZRKorManagementPolicy{}, song.doc, history);
    }
    // One commit through a fresh editor that sets the second tempo to `value`.
    void commitTempo(std::int32_t value) {
        take();
        ASSERT_EQ(editor->updateTempo(song.tempo->getObjID(), {0, value}), 1);
        ASSERT_EQ(editor->commit(), 1);
    }
    std::uint32_t undo() { return kor::undoAndNotify(history, host); }
    std::uint32_t redo() { return kor::redoAndNotify(history, host); }

    // The whole observable state of the history.
    void expectState(std::uint32_t commitPoint, bool canUndo, bool canRedo,
                     std::size_t messages) const {
        EXPECT_EQ(history.currentCommitPoint(), commitPoint);
        EXPECT_EQ(history.canUndo(), canUndo);
        EXPECT_EQ(history.canRedo(), canRedo);
        EXPECT_EQ(host.messages.size(), messages);
    }
};

} // namespace

TEST(KorEditor, CommitsOnceAndKeepsRecordsOfAFailedOperation) {
    EditorFixture f;
    const std::uint32_t tempoID = f.song.tempo->getObjID();
    ASSERT_EQ(f.editor->insertTempo({960, 15000}), 1);
    // A refused operation leaves the earlier record pending; its message follows the table text
    // with the value and the range.
    EXPECT_EQ(f.editor->updateTempo(tempoID, {0, 1999}), 0);
    EXPECT_EQ(f.editor->getLastError(), ZR_E_INVALID_TEMPO_VALUE);
    EXPECT_STREQ(f.editor->getLastErrorMessage(),
                 L"failed Tempo 1999 (19.99 BPM) is outside 20.00\u2013300.00 BPM.");
    ASSERT_EQ(f.editor->commit(), 1);
    EXPECT_EQ(f.editor->getLastError(), 0u);
    EXPECT_STREQ(f.editor->getLastErrorMessage(), L"OK");
    EXPECT_EQ(f.song.tempoPositions(), (std::vector{0, 960, 1920}));

    // A second commit succeeds without effect.
    EXPECT_EQ(f.editor->commit(), 1);
    f.expectState(2, true, false, 1);
}

TEST(KorEditor, SaysWhyItFindsNoTarget) {
    EditorFixture f;
    ASSERT_EQ(f.editor->insertTempo({960, 15000}), 1);
    const std::uint32_t inserted = f.editor->getLastInsertedID();
    const std::uint32_t master = f.song.master->getObjID();
    const struct {
        std::uint32_t target;
        std::wstring detail;
    } rows[] = {
        {inserted, L"The tempo " + std::to_wstring(inserted) +
                       L" is one this editor inserted: edits reach objects of the song, which it "
                       L"joins at the commit; a new editor can then edit it."},
        {9999, L"The song has no object 9999."},
        {master, L"Object " + std::to_wstring(master) + L" is a master track, not a tempo."},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(f.editor->updateTempo(row.target, {0, 12000}), 0);
        EXPECT_EQ(f.editor->getLastError(), ZR_E_EDIT_TARGET_NOT_FOUND);
        EXPECT_TRUE(std::wstring(f.editor->getLastErrorMessage()).ends_with(L" " + row.detail))
            << f.editor->getLastErrorMessage();
    }
    const std::uint32_t tempos = f.song.master->tempoList()->getObjID();
    EXPECT_EQ(f.editor->insertNote(tempos, {0, 480, 60, 64, L"a", {L"a"}, 0}), 0);
    EXPECT_TRUE(std::wstring(f.editor->getLastErrorMessage())
                    .ends_with(L" Object " + std::to_wstring(tempos) +
                               L" is a tempo list, not a list this edit changes."))
        << f.editor->getLastErrorMessage();
}

TEST(KorEditor, RefusesEditsAfterItsCommit) {
    EditorFixture f;
    const std::uint32_t tempoID = f.song.tempo->getObjID();
    ASSERT_EQ(f.editor->updateTempo(tempoID, {0, 6000}), 1);
    ASSERT_EQ(f.editor->commit(), 1);

    // An editor commits once, so an edit made after that could never reach the song; taking it
    // and dropping it at release would lose the host's work without a word. No host relies on
    // losing its edits, so the edit is refused at once and the host told to take a new editor.
    EXPECT_EQ(f.editor->updateTempo(tempoID, {0, 3000}), 0);
    EXPECT_EQ(f.editor->getLastError(), ZR_E_EDITOR_COMMITTED);
    EXPECT_NE(std::wstring(f.editor->getLastErrorMessage()).find(L"take a new one"),
              std::wstring::npos);
    EXPECT_TRUE(f.editor->session().pending().empty());
    // Reading the live song records nothing and still works; commit still answers 1.
    std::vector<std::uint32_t> sigs, tempos;
    EXPECT_EQ(f.editor->listPreMeasureEvents(f.song.master->getObjID(), sigs, tempos), 1);
    EXPECT_EQ(f.editor->commit(), 1);
    EXPECT_EQ(f.song.tempo->getBPM(), 6000);
    f.expectState(2, true, false, 1);
}

TEST(KorEditor, DetachedEditorRefusesEveryOperationAndKeepsNothing) {
    EditorFixture f;
    ASSERT_EQ(f.editor->insertTempo({960, 15000}), 1);
    const std::wstring before = f.song.dump();
    f.editor->detach();
    EXPECT_TRUE(f.editor->isDetached());

    std::vector<std::uint32_t> sigs, tempos;
    const std::function<int()> operations[] = {
        [&] {
            return f.editor->insertTempo({480, 9000});
        },
        [&] { return f.editor->commit(); },
        [&] { return f.editor->listPreMeasureEvents(f.song.master->getObjID(), sigs, tempos); },
        [&] {
            f.editor->discard();
            return 0;
        },
    };
    for (const auto& operation : operations) {
        EXPECT_EQ(operation(), 0);
        EXPECT_EQ(f.editor->getLastError(), ZR_E_EDITOR_DETACHED);
        EXPECT_NE(std::wstring(f.editor->getLastErrorMessage()).find(L"release this editor"),
                  std::wstring::npos);
    }
    EXPECT_EQ(f.song.dump(), before);
    f.expectState(1, false, false, 0);
}

TEST(KorEditor, ShortMemoryChangesNothing) {
    // Recording: the host refuses the copy.
    EditorFixture f;
    f.host.headroom = false;
    EXPECT_EQ(f.editor->insertTempo({960, 15000}), 0);
    EXPECT_EQ(f.editor->getLastError(), ZR_E_NOT_ENOUGH_MEMORY);
    EXPECT_TRUE(f.editor->session().pending().empty());

    // Committing and undoing: the history's rule refuses.
    bool memoryShort = false;
    const auto refuseWhenShort = [&memoryShort](std::uint64_t) { return !memoryShort; };
    EditorFixture g(-1, refuseWhenShort);
    const std::wstring before = g.song.dump();
    ASSERT_EQ(g.editor->insertTempo({960, 15000}), 1);
    memoryShort = true;
    EXPECT_EQ(g.editor->commit(), 0);
    memoryShort = false;
    EXPECT_EQ(g.editor->getLastError(), ZR_E_NOT_ENOUGH_MEMORY);
    EXPECT_TRUE(g.editor->session().pending().empty());
    EXPECT_EQ(g.song.dump(), before);
    g.expectState(1, false, false, 0);

    EditorFixture h(-1, refuseWhenShort);
    h.commitTempo(6000);
    const std::wstring committed = h.song.dump();
    memoryShort = true;
    EXPECT_EQ(h.undo(), ZR_E_NOT_ENOUGH_MEMORY);
    memoryShort = false;
    h.expectState(2, true, false, 1);
    EXPECT_EQ(h.song.dump(), committed);
}

TEST(KorEditor, NotesShareTheirListRecordAndBlockTheirPart) {
    EditorFixture f;
    std::uint32_t error = 0;
    AZREditCommand* note = f.editor->session().recordFor<CZREditMusicalNote>(f.song.note, error);
    ASSERT_NE(note, nullptr);
    EXPECT_EQ(f.editor->session().recordFor<CZREditMusicalNote>(f.song.note, error), note);
    EXPECT_EQ(f.editor->session().recordFor<CZREditMusicalPart>(f.song.musical, error), nullptr);
    EXPECT_EQ(error, ZR_E_EDIT_CONFLICT);
    // The conflict is finished as the operation's code, with both records named.
    EXPECT_EQ(f.editor->insertTempo({960, 15000}), 1); // any operation clears the last error
    EXPECT_EQ(f.editor->updateMusicalPart(f.song.musical->getObjID(), {0, 1920, L"m", L""}), 0);
    EXPECT_STREQ(f.editor->getLastErrorMessage(),
                 L"failed The pending note record conflicts with the musical part record this "
                 L"edit needs. Recording the musical part edit first, or using a second editor "
                 L"after committing, avoids it.");
    error = 0;
    EXPECT_EQ(
        f.editor->session().recordFor<CZREditMusicalNoteList>(f.song.musical->noteList(), error),
        nullptr);
    EXPECT_EQ(error, ZR_E_EDIT_CONFLICT);

    // Once the note list is recorded, a note edit goes into its record.
    f.editor->discard();
    error = 0;
    AZREditCommand* list =
        f.editor->session().recordFor<CZREditMusicalNoteList>(f.song.musical->noteList(), error);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(f.editor->session().recordFor<CZREditMusicalNote>(f.song.note, error), list);
    EXPECT_EQ(f.editor->session().pending().size(), 1u);
    EXPECT_EQ(f.editor->session().recordFor<CZREditMusicalNote>(nullptr, error), nullptr);
    EXPECT_EQ(error, ZR_E_EDIT_TARGET_NOT_FOUND);
}

TEST(KorEditor, NoteListCommitSortsAndUndoRestoresTheSameObjects) {
    EditorFixture f;
    CZRMusicalNote* late = f.song.addNote(960);
    f.song.musical->clearEdited(); // brings the part's derived length up to date
    const std::uint32_t listID = f.song.musical->noteList()->getObjID();
    const std::wstring before = f.song.dump();
    const std::size_t objectsBefore = f.song.doc.objects().size();
    std::uint32_t error = 0;
    AZREditCommand* record =
        f.editor->session().recordFor<CZREditMusicalNoteList>(f.song.musical->noteList(), error);
    ASSERT_NE(record, nullptr);
    auto* list = kor::EditSession::workingObject<CZRNodeList>(*record, listID, error);
    ASSERT_TRUE(list->removeByID(f.song.note->getObjID()));
    auto* added = kor::createObject<CZRMusicalNote>(
        record->storeContext(), ZR_NO_OBJ_ID, ZRMusicalNoteValues{1440, 480, 62, 64, 0, L"i", {}});
    ASSERT_TRUE(list->append(added));
    ASSERT_TRUE(list->append(kor::createObject<CZRMusicalNote>(
        record->storeContext(), ZR_NO_OBJ_ID, ZRMusicalNoteValues{480, 480, 61, 64, 0, L"u", {}})));
    const std::uint32_t middle = list->elementAt(2)->getObjID();
    ASSERT_EQ(f.editor->commit(), 1);

    const CZRNodeList* liveList = f.song.musical->noteList();
    ASSERT_EQ(liveList->getCount(), 3u);
    EXPECT_EQ(liveList->elementAt(0)->getObjID(), middle);
    EXPECT_EQ(liveList->elementAt(1)->getObjID(), late->getObjID());
    EXPECT_EQ(liveList->elementAt(2)->getObjID(), added->getObjID());
    EXPECT_EQ(f.song.doc.objects().lookup(f.song.note->getObjID()), nullptr);
    EXPECT_TRUE((f.song.musical->getFlags() & ZR_FLAG_EDITED) != 0);

    ASSERT_EQ(f.undo(), 0u);
    EXPECT_EQ(f.song.musical->noteList()->elements(),
              (std::vector<IZRMutableKorObject*>{f.song.note, late}));
    f.song.musical->clearEdited();
    EXPECT_EQ(f.song.dump(), before);
    EXPECT_EQ(f.song.doc.objects().size(), objectsBefore);
    ASSERT_EQ(f.redo(), 0u);
    EXPECT_EQ(f.song.musical->noteList()->getCount(), 3u);
    // Dropping the redoable commit destroys the notes only it held.
    f.take();
    f.history.reset();
    EXPECT_EQ(f.song.doc.objects().size(), objectsBefore + 1);
}
