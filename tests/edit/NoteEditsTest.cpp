#include "edit/NoteEdits.h"

#include "edit/EditRecords.h"
#include "legacy/IconVibrato.h"
#include "support/EditSong.h"
#include "support/ManagerFixture.h"
#include "support/TempDir.h"

#include <korman/korman.h>

#include <gtest/gtest.h>

namespace {

ZRNoteValue noteAt(std::int32_t posTick) {
    return {posTick, 480, 60, 64, L"la", {L"l", L"a"}, 0};
}

constexpr ZRNoteStyleValue kStyle{8, 0, 1, 0, 50, 50, 127};

struct NoteFixture {
    EditSong song;
    TestHost host;
    CZRCommitHistory history{-1};
    ZRKorManagementPolicy policy;
    std::unique_ptr<CZRKorEditorIF> editor;
    kor::test::TempDir dir;
    CIconVibrato normal;
    std::uint32_t list = song.musical->noteList()->getObjID();
    std::uint32_t note = song.note->getObjID();

    NoteFixture() {
        policy.maxNoteTick = 4800;
        take();
        // Kind 7 starts at depth 64 and falls to 0 at its end; its rate stays at 50.
        dir.write("normal.aic", "[Parameter]\nStartDepth=64\nDepthBPNum=2\nDepthBPX=0.0,1.0\n"
                                "DepthBPY=64,0\nStartRate=50\n");
        EXPECT_TRUE(normal.load(dir.wide("normal.aic")));
        host.vibratos[7] = &normal;
    }
    void take() { editor = std::make_unique<CZRKorEditorIF>(host, policy, song.doc, history); }
    const CZRMusicalNote* liveNote(std::size_t index) const {
        return kor::objCast<CZRMusicalNote>(song.musical->noteList()->elementAt(index));
    }
    std::wstring dump() {
        song.musical->clearEdited();
        return song.dump();
    }
};

std::vector<kor::VibratoPoint> curve(const CZRMusicalNote& note, const wchar_t* id) {
    std::vector<kor::VibratoPoint> points;
    for (const IZRMutableKorObject* point : note.noteSeqStyle()->elementList(id)->elements()) {
        const auto* element = kor::objCast<CZRNoteStyleSeqAttribElement>(point);
        points.push_back({element->getPosNrm(), element->getElv()});
    }
    return points;
}

std::int32_t styleValue(const CZRMusicalNote& note, const wchar_t* id) {
    std::int32_t value = -1;
    EXPECT_TRUE(note.noteStyle()->getValue(id, value));
    return value;
}

} // namespace

TEST(NoteEdits, ChecksNoteValuesInOrderBeforeRecording) {
    NoteFixture f;
    struct Row {
        ZRNoteValue value;
        std::uint32_t insert, update;
    };
    const Row rows[] = {
        {{-1, 480, 60, 64, L"a", {L"a"}, 0}, ZR_E_INVALID_NOTE_POSITION, 0},
        {{-1, 0, 60, 64, L"a", {L"a"}, 0}, ZR_E_INVALID_NOTE_POSITION, ZR_E_INVALID_NOTE_DURATION},
        {{0, 480, 128, -1, L"a", {L"a"}, 0}, ZR_E_INVALID_NOTE_NUMBER, ZR_E_INVALID_NOTE_NUMBER},
        {{0, 480, 60, -1, L"a", {L"a"}, 0}, ZR_E_INVALID_NOTE_VELOCITY, ZR_E_INVALID_NOTE_VELOCITY},
        {{0, 480, 60, 64, L"", {L"a"}, 0}, ZR_E_INVALID_LYRIC, ZR_E_INVALID_LYRIC},
        {{0, 480, 60, 64, L"a", {}, 0}, ZR_E_INVALID_PHONEME, ZR_E_INVALID_PHONEME},
        {{0, 480, 60, 64, L"a", std::vector<std::wstring>(11, L"abc"), 0},
         ZR_E_INVALID_PHONEME,
         ZR_E_INVALID_PHONEME},
        // The limit of 4800 ticks: the insert ends where the value says, the update where the
        // note at tick 0 would end.
        {{4320, 480, 60, 64, L"a", {L"a"}, 0}, 0, 0},
        {{4320, 481, 60, 64, L"a", {L"a"}, 0}, ZR_E_INVALID_NOTE_POSITION, 0},
        {{0, 4801, 60, 64, L"a", {L"a"}, 0},
         ZR_E_INVALID_NOTE_POSITION,
         ZR_E_INVALID_NOTE_POSITION},
    };
    for (const Row& row : rows) {
        f.editor->discard();
        EXPECT_EQ(kor::insertNote(*f.editor, f.list, row.value), row.insert);
        EXPECT_EQ(f.editor->pending().size(), row.insert == 0 ? 1u : 0u);
        f.editor->discard();
        EXPECT_EQ(kor::updateNote(*f.editor, f.note, row.value), row.update);
    }
    const std::uint32_t singers = f.song.musical->singerList()->getObjID();
    EXPECT_EQ(kor::insertNote(*f.editor, singers, noteAt(0)), ZR_E_EDIT_TARGET_NOT_FOUND);
    EXPECT_EQ(kor::insertNote(*f.editor, f.note, noteAt(0)), ZR_E_EDIT_TARGET_NOT_FOUND);
    EXPECT_EQ(kor::moveNote(*f.editor, f.list, noteAt(0)), ZR_E_EDIT_TARGET_NOT_FOUND);
    EXPECT_EQ(kor::deleteNote(*f.editor, 9999), ZR_E_EDIT_TARGET_NOT_FOUND);
}

TEST(NoteEdits, InsertMoveAndDeleteChangeOnlyTheListCopyUntilCommit) {
    NoteFixture f;
    const std::uint32_t second = f.song.addNote(960)->getObjID();
    const std::wstring before = f.dump();
    ASSERT_EQ(kor::insertNote(*f.editor, f.list, noteAt(1440)), 0u);
    ZRNoteValue moved = noteAt(1920);
    moved.noteNum = 62;
    ASSERT_EQ(kor::moveNote(*f.editor, f.note, moved), 0u);
    ASSERT_EQ(kor::deleteNote(*f.editor, second), 0u);
    EXPECT_EQ(kor::deleteNote(*f.editor, second), 0u);
    EXPECT_EQ(kor::updateNote(*f.editor, second, noteAt(0)), ZR_E_EDIT_TARGET_DELETED);
    EXPECT_EQ(f.dump(), before);

    ASSERT_EQ(f.editor->pending().size(), 1u);
    const auto& changes = f.editor->pending()[0]->changes();
    ASSERT_EQ(changes.size(), 6u);
    const std::uint32_t inserted = changes[0].objID;
    const std::vector<std::uint32_t> flags{changes[0].flags, changes[1].flags, changes[2].flags,
                                           changes[4].flags};
    EXPECT_EQ(flags, (std::vector<std::uint32_t>{0x12, 0x11, 0x11, 0x14}));
    EXPECT_EQ(changes[2].posTick, 1920);
    EXPECT_EQ(changes[4].posTick, 960);
    EXPECT_EQ(changes[5].objID, f.list);

    ASSERT_EQ(f.editor->commit(), 1);
    ASSERT_EQ(f.song.musical->noteList()->getCount(), 2u);
    EXPECT_EQ(f.liveNote(0)->getObjID(), inserted);
    EXPECT_EQ(f.liveNote(1)->getObjID(), f.note);
    EXPECT_EQ(f.liveNote(1)->getNoteNum(), 62);
    EXPECT_EQ(f.song.doc.objects().lookup(second), nullptr);

    ASSERT_EQ(kor::undoAndNotify(f.history, f.host), 0u);
    EXPECT_EQ(f.dump(), before);
    ASSERT_EQ(kor::redoAndNotify(f.history, f.host), 0u);
    EXPECT_EQ(f.liveNote(1)->getPosTick(), 1920);
}

TEST(NoteEdits, BuildsAndRebuildsTheVibratoFromTheVoiceDatabase) {
    NoteFixture f;
    const ZRVibratoValue bad[] = {{1, 101, 7}, {1, -1, 7}, {1, 50, 17}, {1, 50, 5}, {0, 50, -1}};
    for (const ZRVibratoValue& vibrato : bad)
        EXPECT_EQ(kor::insertNoteWithStyle(*f.editor, f.list, noteAt(0), kStyle, vibrato),
                  ZR_E_INVALID_VIBRATO);
    EXPECT_EQ(kor::insertNoteWithStyle(*f.editor, f.list, noteAt(0), {8, 0, 1, 0, 50, 50, 128},
                                       {1, 50, 7}),
              ZR_E_INVALID_T2_NOTE_STYLE);
    EXPECT_EQ(kor::updateNoteVibrato(*f.editor, f.note, {1, 50, 7}), ZR_E_EDIT_TARGET_NOT_T2_STYLE);
    EXPECT_TRUE(f.editor->pending().empty());

    // The vibrato covers the second half of the note: its curves start at the middle.
    ASSERT_EQ(kor::insertNoteWithStyle(*f.editor, f.list, noteAt(480), kStyle, {1, 50, 7}), 0u);
    ASSERT_EQ(f.editor->commit(), 1);
    const CZRMusicalNote& styled = *f.liveNote(1);
    EXPECT_EQ(styleValue(styled, L"risePort"), 1);
    EXPECT_EQ(styleValue(styled, L"vibType"), 7);
    EXPECT_EQ(styleValue(styled, L"vibLen"), 50);
    EXPECT_EQ(curve(styled, L"vibDep"), (std::vector<kor::VibratoPoint>{{32768, 64}, {65536, 0}}));
    EXPECT_EQ(curve(styled, L"vibRate"), (std::vector<kor::VibratoPoint>{{32768, 50}}));
    EXPECT_EQ(styled.noteSeqStyle()->elementList(L"vibRate")->getListTypeEx(),
              CZRNoteStyleSeqAttrib::kVibRateKind);
    const std::wstring withVibrato = f.dump();

    // Switching the vibrato off empties the curves; undo brings back the very same points.
    f.take();
    const std::uint32_t styledID = styled.getObjID();
    ASSERT_EQ(kor::updateNoteVibrato(*f.editor, styledID, {0, 100, 7}), 0u);
    EXPECT_EQ(curve(styled, L"vibDep").size(), 2u);
    ASSERT_EQ(f.editor->commit(), 1);
    const CZRMusicalNote& plain = *f.liveNote(1);
    EXPECT_EQ(styleValue(plain, L"vibType"), 0);
    EXPECT_EQ(styleValue(plain, L"vibLen"), 0);
    EXPECT_TRUE(curve(plain, L"vibDep").empty());
    ASSERT_EQ(kor::undoAndNotify(f.history, f.host), 0u);
    EXPECT_EQ(f.dump(), withVibrato);
}

TEST(NoteEdits, CopiesANoteWithItsStylesUnderFreshIDs) {
    NoteFixture f;
    ASSERT_EQ(kor::insertNoteWithStyle(*f.editor, f.list, noteAt(480), kStyle, {1, 100, 7}), 0u);
    ASSERT_EQ(f.editor->commit(), 1);
    const CZRMusicalNote& source = *f.liveNote(1); // kept by the history after the next commit
    f.take();
    EXPECT_EQ(kor::copyNote(*f.editor, f.list, 0, 9999), ZR_E_COPY_SOURCE_NOT_FOUND);
    EXPECT_EQ(kor::copyNote(*f.editor, f.list, 0, f.list), ZR_E_COPY_SOURCE_NOT_FOUND);
    EXPECT_EQ(kor::copyNote(*f.editor, f.list, -1, source.getObjID()), ZR_E_INVALID_NOTE_POSITION);
    EXPECT_EQ(kor::copyNote(*f.editor, f.list, 4321, source.getObjID()),
              ZR_E_INVALID_NOTE_POSITION);
    EXPECT_EQ(kor::copyNoteWithNumber(*f.editor, f.list, 0, source.getObjID(), 128),
              ZR_E_INVALID_NOTE_NUMBER);
    EXPECT_EQ(kor::copyNote(*f.editor, f.note, 0, source.getObjID()), ZR_E_EDIT_TARGET_NOT_FOUND);
    EXPECT_TRUE(f.editor->pending().empty());

    const std::size_t objects = f.song.doc.objects().size();
    ASSERT_EQ(kor::copyNoteWithNumber(*f.editor, f.list, 4320, source.getObjID(), 72), 0u);
    ASSERT_EQ(f.editor->commit(), 1);
    ASSERT_EQ(f.liveNote(1)->getObjID(), source.getObjID());
    // The copy brings a note, its two styles, two curves and their three points.
    EXPECT_EQ(f.song.doc.objects().size(), objects + 8);
    const CZRMusicalNote& copy = *f.liveNote(2);
    EXPECT_NE(copy.getObjID(), source.getObjID());
    EXPECT_NE(copy.noteStyle()->getObjID(), source.noteStyle()->getObjID());
    EXPECT_EQ(copy.getPosTick(), 4320);
    EXPECT_EQ(copy.getNoteNum(), 72);
    EXPECT_EQ(copy.getLyric(), source.getLyric());
    EXPECT_EQ(curve(copy, L"vibDep"), curve(source, L"vibDep"));
}

// The note family end to end: the manager's editor, the voice database's vibrato kinds, the
// policy's tick limit, and the song read back through the public interfaces.
class NoteEditSession : public kor::test::ManagerTest {
protected:
    CZRKorManagerIF manager;
};

TEST_F(NoteEditSession, InsertsAStyledNoteCommitsUndoesAndRedoes) {
    ZRKorManagementPolicy policy = kor::test::validPolicy();
    policy.maxNoteTick = 7680;
    ASSERT_EQ(manager.sysInitialize(policy), 1);
    ASSERT_NE(manager.korCreateNewSequenceWithMusicalPart(L"", L"", 1, L"P", L"", 7680), nullptr);
    const IZRZRTrack* track = manager.korGetCurrentSequence()->getSequence()->findZRTrack(0);
    const auto* part = dynamic_cast<const IZRMusicalPart*>(track->getPartList()->getAt(0));
    ASSERT_NE(part, nullptr);
    // A commit puts the edited copy of the note list in the place of the old list.
    auto notes = [part] { return part->getNoteList(); };
    const std::uint32_t list = notes()->getObjID();

    IZRKorEditorIF* editor = manager.editGetKorEditor(5);
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->insertNote(list, noteAt(7201)), 0);
    EXPECT_EQ(editor->getLastError(), ZR_E_INVALID_NOTE_POSITION);
    EXPECT_EQ(editor->copyNote(list, 0, 12345), 0);
    EXPECT_EQ(editor->getLastError(), ZR_E_COPY_SOURCE_NOT_FOUND);
    ASSERT_EQ(editor->insertNoteWithStyle(list, noteAt(7200), kStyle, {1, 25, 7}), 1);
    EXPECT_EQ(notes()->getCount(), 0u);
    ASSERT_EQ(editor->commit(), 1);
    manager.editReleaseKorEditor(editor);

    ASSERT_EQ(notes()->getCount(), 1u);
    const auto* note = dynamic_cast<const IZRMusicalNote*>(notes()->getAt(0));
    ASSERT_NE(note, nullptr);
    EXPECT_EQ(note->getPosTick(), 7200);
    EXPECT_EQ(note->getPhoneme(1), L"a");
    std::int32_t length = 0;
    EXPECT_TRUE(note->getNoteStyle()->getValue(L"vibLen", length));
    EXPECT_EQ(length, 25);
    // The depth curve of the vibrato kind, over the last quarter of the note.
    const IZRNodeList* depth = note->getNoteSeqStyle()->getElementList(L"vibDep");
    ASSERT_EQ(depth->getCount(), 2u);
    EXPECT_EQ(dynamic_cast<const IZRNoteStyleSeqAttribElement*>(depth->getAt(0))->getPosNrm(),
              49152);

    ASSERT_EQ(manager.editUndo(), 1);
    EXPECT_EQ(notes()->getCount(), 0u);
    EXPECT_EQ(manager.korGetKorObject(note->getObjID()), nullptr);
    ASSERT_EQ(manager.editRedo(), 1);
    ASSERT_EQ(notes()->getCount(), 1u);
    EXPECT_EQ(notes()->getAt(0)->getObjID(), note->getObjID());
}
