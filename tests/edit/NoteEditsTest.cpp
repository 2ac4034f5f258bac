#include "edit/NoteEdits.h"

#include "edit/EditRecords.h"
#include "support/EditSong.h"

#include <korman/korman.h>

#include <gtest/gtest.h>

#include <functional>

namespace {

using Curve = std::vector<kor::VibratoPoint>;

ZRNoteValue noteAt(std::int32_t posTick, std::int32_t durTick = 480) {
    return {posTick, durTick, 60, 64, L"la", {L"l", L"a"}, 0};
}

constexpr ZRNoteStyleValue kStyle{8, 0, 1, 0, 50, 50, 127};

// The song's note at tick 0 has no styles; the voice database offers vibrato kind 7, whose depth
// falls from 64 to 0 and whose rate stays at 50. Notes may reach tick 4800.
struct NoteFixture {
    EditSong song;
    TestHost host;
    CZRCommitHistory history{-1};
    ZRKorManagementPolicy policy;
    std::unique_ptr<CZRKorEditorIF> editor;
    kor::VibratoShape kind7{64, {{0, 64}, {10000, 0}}, 50, {}};
    std::uint32_t list = song.musical->noteList()->getObjID();
    std::uint32_t note = song.note->getObjID();

    NoteFixture() {
        policy.maxNoteTick = 4800;
        take();
        host.vibratos[7] = &kind7;
    }
    void take() { editor = std::make_unique<CZRKorEditorIF>(host, policy, song.doc, history); }
    /// The note at `index` of the live list: a commit replaces the list and its notes by copies.
    const CZRMusicalNote& liveNote(std::size_t index) const {
        return *kor::objCast<CZRMusicalNote>(song.musical->noteList()->elementAt(index));
    }
    std::wstring dump() {
        song.musical->clearEdited();
        return song.dump();
    }
};

Curve curve(const CZRMusicalNote& note, const wchar_t* id) {
    Curve points;
    for (const IZRMutableKorObject* element : note.noteSeqStyle()->elementList(id)->elements()) {
        const auto* point = kor::objCast<CZRNoteStyleSeqAttribElement>(element);
        points.push_back({point->getPosNrm(), point->getElv()});
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
        std::uint32_t insert, update; // the update ignores the position and keeps the note at 0
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
        {noteAt(4320), 0, 0},
        {noteAt(4320, 481), ZR_E_INVALID_NOTE_POSITION, 0},
        {noteAt(0, 4801), ZR_E_INVALID_NOTE_POSITION, ZR_E_INVALID_NOTE_POSITION},
    };
    for (const Row& row : rows) {
        f.editor->discard();
        EXPECT_EQ(kor::insertNote(f.editor->session(), f.list, row.value), row.insert);
        EXPECT_EQ(f.editor->session().pending().size(), row.insert == 0 ? 1u : 0u);
        f.editor->discard();
        EXPECT_EQ(kor::updateNote(f.editor->session(), f.note, row.value), row.update);
    }
    const std::uint32_t singers = f.song.musical->singerList()->getObjID();
    EXPECT_EQ(kor::insertNote(f.editor->session(), singers, noteAt(0)), ZR_E_EDIT_TARGET_NOT_FOUND);
    EXPECT_EQ(kor::moveNote(f.editor->session(), f.list, noteAt(0)), ZR_E_EDIT_TARGET_NOT_FOUND);
}

// A group of moves alone keeps the notes it does not move in place, and undo and redo pass back
// and forth through exactly the two orders; an insert after a move in the same group sees the
// moved note where the move put it.
TEST(NoteEdits, MovesKeepTheListInOrderThroughUndoRedoAndLaterEdits) {
    NoteFixture f;
    const std::uint32_t b = f.song.addNote(480)->getObjID();
    const std::uint32_t c = f.song.addNote(960)->getObjID();
    const auto order = [&] {
        std::vector<std::uint32_t> ids;
        for (const IZRMutableKorObject* e : f.song.musical->noteList()->elements())
            ids.push_back(e->getObjID());
        return ids;
    };
    const std::wstring before = f.dump();
    ASSERT_EQ(kor::moveNote(f.editor->session(), f.note, noteAt(1200)), 0u);
    ASSERT_EQ(kor::moveNote(f.editor->session(), c, noteAt(0)), 0u);
    ASSERT_EQ(kor::moveNote(f.editor->session(), f.note, noteAt(720)), 0u);
    EXPECT_EQ(f.dump(), before);
    ASSERT_EQ(f.editor->commit(), 1);
    EXPECT_EQ(order(), (std::vector{c, b, f.note}));
    EXPECT_EQ(f.liveNote(2).getPosTick(), 720);
    const std::wstring after = f.dump();
    ASSERT_EQ(kor::undoAndNotify(f.history, f.host), 0u);
    EXPECT_EQ(f.dump(), before);
    ASSERT_EQ(kor::redoAndNotify(f.history, f.host), 0u);
    EXPECT_EQ(f.dump(), after);

    f.take();
    ASSERT_EQ(kor::moveNote(f.editor->session(), b, noteAt(2400)), 0u);
    ASSERT_EQ(kor::insertNote(f.editor->session(), f.list, noteAt(1440)), 0u);
    ASSERT_EQ(kor::updateNote(f.editor->session(), b, noteAt(0, 240)), 0u);
    ASSERT_EQ(f.editor->commit(), 1);
    ASSERT_EQ(f.song.musical->noteList()->getCount(), 4u);
    EXPECT_EQ(f.liveNote(3).getObjID(), b);
    EXPECT_EQ(f.liveNote(3).getPosTick(), 2400);
    EXPECT_EQ(f.liveNote(3).getDurTick(), 240);
    ASSERT_EQ(kor::undoAndNotify(f.history, f.host), 0u);
    EXPECT_EQ(f.dump(), after);
}

TEST(NoteEdits, InsertMoveAndDeleteChangeOnlyTheListCopyUntilCommit) {
    NoteFixture f;
    const std::uint32_t second = f.song.addNote(960)->getObjID();
    const std::wstring before = f.dump();
    ASSERT_EQ(kor::insertNote(f.editor->session(), f.list, noteAt(1440)), 0u);
    ZRNoteValue moved = noteAt(1920);
    moved.noteNum = 62;
    ASSERT_EQ(kor::moveNote(f.editor->session(), f.note, moved), 0u);
    ASSERT_EQ(kor::deleteNote(f.editor->session(), second), 0u);
    EXPECT_EQ(kor::deleteNote(f.editor->session(), second), 0u);
    EXPECT_EQ(kor::updateNote(f.editor->session(), second, noteAt(0)), ZR_E_EDIT_TARGET_DELETED);
    EXPECT_EQ(f.dump(), before);

    ASSERT_EQ(f.editor->session().pending().size(), 1u);
    const auto& changes = f.editor->session().pending()[0]->changes();
    ASSERT_EQ(changes.size(), 6u);
    const std::uint32_t inserted = changes[0].objID;
    EXPECT_EQ((std::vector{changes[0].flags, changes[1].flags, changes[2].flags, changes[4].flags}),
              (std::vector<std::uint32_t>{0x12, 0x11, 0x11, 0x14}));
    EXPECT_EQ((std::vector{changes[0].posTick, changes[2].posTick, changes[4].posTick}),
              (std::vector{1440, 1920, 960}));
    EXPECT_EQ(changes[5].objID, f.list);

    ASSERT_EQ(f.editor->commit(), 1);
    ASSERT_EQ(f.song.musical->noteList()->getCount(), 2u);
    EXPECT_EQ(f.liveNote(0).getObjID(), inserted);
    EXPECT_EQ(f.liveNote(1).getObjID(), f.note);
    EXPECT_EQ(f.liveNote(1).getNoteNum(), 62);
    EXPECT_EQ(f.song.doc.objects().lookup(second), nullptr);
    ASSERT_EQ(kor::undoAndNotify(f.history, f.host), 0u);
    EXPECT_EQ(f.dump(), before);
}

TEST(NoteEdits, BuildsAndRebuildsTheVibratoFromTheVoiceDatabase) {
    NoteFixture f;
    const ZRVibratoValue bad[] = {{1, 101, 7}, {1, -1, 7}, {1, 50, 17}, {0, 50, -1}};
    for (const ZRVibratoValue& vibrato : bad)
        EXPECT_EQ(kor::insertNoteWithStyle(f.editor->session(), f.list, noteAt(0), kStyle, vibrato),
                  ZR_E_INVALID_VIBRATO);
    EXPECT_EQ(kor::insertNoteWithStyle(f.editor->session(), f.list, noteAt(0),
                                       {8, 0, 1, 0, 50, 50, 128}, {1, 50, 7}),
              ZR_E_INVALID_T2_NOTE_STYLE);
    EXPECT_EQ(kor::updateNoteVibrato(f.editor->session(), f.note, {1, 50, 7}),
              ZR_E_EDIT_TARGET_NOT_T2_STYLE);
    EXPECT_TRUE(f.editor->session().pending().empty());

    // The vibrato covers the second half of the note: its curves start at the middle.
    ASSERT_EQ(
        kor::insertNoteWithStyle(f.editor->session(), f.list, noteAt(480), kStyle, {1, 50, 7}), 0u);
    ASSERT_EQ(f.editor->commit(), 1);
    const CZRMusicalNote& styled = f.liveNote(1);
    EXPECT_EQ(styleValue(styled, L"vibType"), 7);
    EXPECT_EQ(styleValue(styled, L"vibLen"), 50);
    EXPECT_EQ(curve(styled, L"vibDep"), (Curve{{32768, 64}, {65536, 0}}));
    EXPECT_EQ(curve(styled, L"vibRate"), (Curve{{32768, 50}}));
    const std::wstring withVibrato = f.dump();

    // Switching the vibrato off empties the curves; undo brings back the very same points.
    f.take();
    ASSERT_EQ(kor::updateNoteVibrato(f.editor->session(), styled.getObjID(), {0, 100, 7}), 0u);
    ASSERT_EQ(f.editor->commit(), 1);
    EXPECT_EQ(styleValue(f.liveNote(1), L"vibType"), 0);
    EXPECT_EQ(styleValue(f.liveNote(1), L"vibLen"), 0);
    EXPECT_TRUE(curve(f.liveNote(1), L"vibDep").empty());
    ASSERT_EQ(kor::undoAndNotify(f.history, f.host), 0u);
    EXPECT_EQ(f.dump(), withVibrato);

    // A kind the voice database's table lacks (its articulation unreadable) has no curves to
    // give: refused, unless the vibrato is off.
    f.take();
    EXPECT_EQ(kor::updateNoteVibrato(f.editor->session(), f.liveNote(1).getObjID(), {1, 40, 5}),
              ZR_E_INVALID_VIBRATO);
    EXPECT_TRUE(f.editor->session().pending().empty());
    EXPECT_EQ(kor::updateNoteVibrato(f.editor->session(), f.liveNote(1).getObjID(), {0, 40, 5}),
              0u);
}

TEST(NoteEdits, SetsStyleValuesAndCurvePoints) {
    NoteFixture f;
    ASSERT_EQ(
        kor::insertNoteWithStyle(f.editor->session(), f.list, noteAt(480), kStyle, {1, 100, 7}),
        0u);
    ASSERT_EQ(f.editor->commit(), 1);
    f.take();
    const std::uint32_t style = f.liveNote(1).noteStyle()->getObjID();
    const IZRNodeList* depth = f.liveNote(1).noteSeqStyle()->elementList(L"vibDep");
    const std::uint32_t start = depth->getAt(0)->getObjID();
    const std::uint32_t end = depth->getAt(1)->getObjID();
    EXPECT_EQ(kor::updateNoteStyleAttrib(f.editor->session(), style, {8, 0, 0, 0, 50, -1, 127}),
              ZR_E_INVALID_T2_NOTE_STYLE);
    EXPECT_EQ(kor::moveNoteStyleSeqAttribElement(f.editor->session(), start, {65537, 1}),
              ZR_E_INVALID_SEQUENTIAL_NOTE_STYLE_ATTRIBUTE_POSITION);
    EXPECT_EQ(kor::insertNoteStyleSeqAttribElement(f.editor->session(), f.list, {0, 1}),
              ZR_E_EDIT_TARGET_NOT_FOUND);
    EXPECT_TRUE(f.editor->session().pending().empty());

    // The portamento flags are not range-checked; the vibrato's values stay.
    ASSERT_EQ(kor::updateNoteStyleAttrib(f.editor->session(), style, {100, 0, 5, 1, 0, 100, 0}),
              0u);
    EXPECT_EQ(kor::moveNoteStyleSeqAttribElement(f.editor->session(), start, {65536, 1}),
              ZR_E_SEQUENTIAL_NOTE_STYLE_ATTRIBUTES_ARE_DUPLICATED);
    ASSERT_EQ(kor::moveNoteStyleSeqAttribElement(f.editor->session(), start, {40000, 70}), 0u);
    // A point already at the position takes the value instead of a new point being made.
    ASSERT_EQ(
        kor::insertNoteStyleSeqAttribElement(f.editor->session(), depth->getObjID(), {65536, 9}),
        0u);
    ASSERT_EQ(
        kor::insertNoteStyleSeqAttribElement(f.editor->session(), depth->getObjID(), {1000, 20}),
        0u);
    ASSERT_EQ(kor::deleteNoteStyleSeqAttribElement(f.editor->session(), end), 0u);
    EXPECT_EQ(kor::updateNoteStyleSeqAttribElement(f.editor->session(), end, {0, 5}),
              ZR_E_EDIT_TARGET_DELETED);
    ASSERT_EQ(f.editor->commit(), 1);

    EXPECT_EQ(curve(f.liveNote(1), L"vibDep"), (Curve{{1000, 20}, {40000, 70}}));
    EXPECT_EQ(styleValue(f.liveNote(1), L"risePort"), 5);
    EXPECT_EQ(styleValue(f.liveNote(1), L"vibType"), 7);
}

TEST(NoteEdits, NameTheRefusedValueAndItsRange) {
    NoteFixture f;
    ZRNoteValue longLyric = noteAt(0);
    longLyric.lyric = std::wstring(40, L'a');
    ZRNoteValue tooManyPhonemes = noteAt(0);
    tooManyPhonemes.phonemes.assign(12, L"aaa");
    struct Row {
        std::function<int(IZRKorEditorIF&)> call;
        std::uint32_t code;
        const wchar_t* detail;
    };
    const Row rows[] = {
        {[&](IZRKorEditorIF& e) { return e.insertNote(f.list, noteAt(0, 0)); },
         ZR_E_INVALID_NOTE_DURATION, L"Note length 0 is below 1 ticks."},
        {[&](IZRKorEditorIF& e) { return e.insertNote(f.list, longLyric); }, ZR_E_INVALID_LYRIC,
         L"Lyric of 40 characters is outside 1\u201332 characters."},
        {[&](IZRKorEditorIF& e) { return e.insertNote(f.list, tooManyPhonemes); },
         ZR_E_INVALID_PHONEME, L"12 symbols of 47 characters joined"},
        // The policy's upper tick limit is 4800.
        {[&](IZRKorEditorIF& e) { return e.insertNote(f.list, noteAt(4500, 480)); },
         ZR_E_INVALID_NOTE_POSITION,
         L"Note end 4980 (position 4500 + length 480) lies past the upper tick limit 4800"},
        {[&](IZRKorEditorIF& e) { return e.copyNoteWithNumber(f.list, 0, f.note, 128); },
         ZR_E_INVALID_NOTE_NUMBER, L"Note number 128 is outside 0\u2013127."},
        {[&](IZRKorEditorIF& e) {
             return e.insertNoteWithStyle(f.list, noteAt(0), {8, 0, 1, 0, 50, 101, 127},
                                          {1, 50, 7});
         },
         ZR_E_INVALID_T2_NOTE_STYLE, L"Accent 101 is outside 0\u2013100."},
        {[&](IZRKorEditorIF& e) {
             return e.insertNoteWithStyle(f.list, noteAt(0), kStyle, {1, 50, 17});
         },
         ZR_E_INVALID_VIBRATO, L"Vibrato kind 17 is outside 0\u201316."},
        {[&](IZRKorEditorIF& e) {
             return e.insertNoteWithStyle(f.list, noteAt(0), kStyle, {1, 50, 5});
         },
         ZR_E_INVALID_VIBRATO, L"Vibrato kind 5 is not in the voice database's vibrato table."},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(row.call(*f.editor), 0);
        EXPECT_EQ(f.editor->getLastError(), row.code);
        const std::wstring message = f.editor->getLastErrorMessage();
        // The table text comes first, so a host matching on it still finds it.
        EXPECT_EQ(message.rfind(L"failed ", 0), 0u) << message;
        EXPECT_NE(message.find(row.detail), std::wstring::npos) << message;
    }
}
