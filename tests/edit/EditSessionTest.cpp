#include "edit/EditSession.h"

#include "edit/EditRecords.h"
#include "support/EditSong.h"

#include <gtest/gtest.h>

namespace {

struct SessionFixture {
    EditSong song;
    TestHost host;
    CZRCommitHistory history{-1};
    std::unique_ptr<CZRKorEditorIF> editor;

    SessionFixture() { take(); }
    void take() {
        editor = std::make_unique<CZRKorEditorIF>(host, ZRKorManagementPolicy{}, song.doc, history);
    }
    kor::EditSession& session() { return editor->session(); }
};

ZRNoteValue noteValue(std::int32_t noteNum) {
    return {0, 240, noteNum, 64, L"la", {L"l", L"a"}, 0};
}

} // namespace

// A host may undo and redo while it holds an editor. A pending record whose note the undo took out
// of the song then stands in no one's way: an insert into the note list gets a record of its own,
// and once the redo brings the note back, the note's own record takes its next edit again.
TEST(EditSessionRecords, RecordsFollowTheSongThroughUndoAndRedoUnderAHeldEditor) {
    SessionFixture f;
    const std::uint32_t listID = f.song.musical->noteList()->getObjID();
    ASSERT_EQ(f.editor->insertNote(listID, {960, 240, 62, 64, L"la", {L"l", L"a"}, 0}), 1);
    ASSERT_EQ(f.editor->commit(), 1);
    const std::uint32_t inserted = f.song.musical->noteList()->elementAt(1)->getObjID();

    f.take();
    ASSERT_EQ(f.editor->updateNote(inserted, noteValue(70)), 1);
    // The note list holds a record below it: a list edit conflicts.
    EXPECT_EQ(f.editor->insertNote(listID, {1440, 240, 62, 64, L"la", {L"l", L"a"}, 0}), 0);
    EXPECT_EQ(f.editor->getLastError(), ZR_E_EDIT_CONFLICT);

    ASSERT_EQ(kor::undoAndNotify(f.history, f.host), 0u);
    ASSERT_EQ(f.editor->insertNote(listID, {1440, 240, 62, 64, L"la", {L"l", L"a"}, 0}), 1);
    ASSERT_EQ(f.session().pending().size(), 2u);
    const AZREditCommand* listRecord = f.session().pending()[1].get();
    EXPECT_EQ(listRecord->objectID(), listID);

    ASSERT_EQ(kor::redoAndNotify(f.history, f.host), 0u);
    const auto* live = f.song.doc.objects().lookup(inserted);
    ASSERT_NE(live, nullptr);
    const kor::EditSession::Cover cover = f.session().coverOf(*live);
    EXPECT_EQ(cover.same, f.session().pending()[0].get());
    EXPECT_EQ(cover.below, f.session().pending()[0].get());
    EXPECT_EQ(cover.above, f.session().pending()[0].get());
    const kor::EditSession::Cover ofList = f.session().coverOf(*f.song.musical->noteList());
    EXPECT_EQ(ofList.same, listRecord);
    EXPECT_EQ(ofList.below, f.session().pending()[0].get());
    EXPECT_EQ(f.editor->updateNote(inserted, noteValue(72)), 1);
    EXPECT_EQ(f.session().pending().size(), 2u);
}

// Each note edit makes a record, and each record's copy is planned against the headroom rule; the
// system is asked once for a block of room that the records then spend. Without room for the
// block, each record is refused or allowed as the rule decides for its own copy.
TEST(EditSessionRecords, PlansCopiesOutOfOneLookAtTheSystem) {
    SessionFixture f;
    std::vector<std::uint32_t> notes;
    for (std::int32_t i = 1; i <= 200; ++i)
        notes.push_back(f.song.addNote(480 * i)->getObjID());
    f.take();
    for (const std::uint32_t note : notes)
        ASSERT_EQ(f.editor->updateNote(note, noteValue(61)), 1);
    EXPECT_EQ(f.session().pending().size(), notes.size());
    EXPECT_EQ(f.host.roomAsked, 1);
    ASSERT_EQ(f.editor->commit(), 1);

    f.take();
    f.host.headroom = false;
    EXPECT_EQ(f.editor->updateNote(notes[0], noteValue(62)), 0);
    EXPECT_EQ(f.editor->getLastError(), ZR_E_NOT_ENOUGH_MEMORY);
    EXPECT_TRUE(f.session().pending().empty());
}
