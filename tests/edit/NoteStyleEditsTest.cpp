#include "edit/NoteStyleEdits.h"

#include "edit/EditRecords.h"
#include "support/EditSong.h"

#include <gtest/gtest.h>

namespace {

using Point = CZRNoteStyleSeqAttribElement;

// The song's first note with a style holding a vibrato kind, and a depth curve of two points.
struct StyleFixture {
    EditSong song;
    TestHost host;
    CZRCommitHistory history{-1};
    CZRKorEditorIF editor{host, ZRKorManagementPolicy{}, song.doc, history};
    CZRNoteStyleAttrib* style = nullptr;
    CZRNodeList* depth = nullptr;
    std::uint32_t first = 0;
    std::uint32_t last = 0;

    StyleFixture() {
        const ZRCreateContext context = song.doc.context();
        style = kor::createObject<CZRNoteStyleAttrib>(
            context, ZR_NO_OBJ_ID, CZRNoteStyleAttrib::ValueMap{{L"vibType", 3}});
        auto* seq = kor::createObject<CZRNoteStyleSeqAttrib>(context, ZR_NO_OBJ_ID);
        depth = kor::createList(context, 7, CZRNoteStyleSeqAttrib::kVibDepKind);
        auto* a = kor::createObject<Point>(context, ZR_NO_OBJ_ID,
                                           ZRNoteStyleSeqAttribElementValues{0, 64});
        auto* b = kor::createObject<Point>(context, ZR_NO_OBJ_ID,
                                           ZRNoteStyleSeqAttribElementValues{65536, 0});
        EXPECT_TRUE(song.note->setNoteStyle(style) && song.note->setNoteSeqStyle(seq) &&
                    seq->setElementList(L"vibDep", depth) && depth->append(a) && depth->append(b));
        first = a->getObjID();
        last = b->getObjID();
    }
    /// The live depth curve as (position, value) pairs.
    std::vector<std::pair<std::int32_t, std::int32_t>> curve() const {
        std::vector<std::pair<std::int32_t, std::int32_t>> points;
        for (const IZRMutableKorObject* element :
             song.note->noteSeqStyle()->elementList(L"vibDep")->elements()) {
            const auto* point = kor::objCast<Point>(element);
            points.emplace_back(point->getPosNrm(), point->getElv());
        }
        return points;
    }
};

} // namespace

TEST(NoteStyleEdits, ChecksTheSingingStyleAndKeepsTheVibratoValues) {
    StyleFixture f;
    const std::uint32_t id = f.style->getObjID();
    const ZRNoteStyleValue bad[] = {
        {101, 0, 0, 0, 50, 50, 127}, {8, -1, 0, 0, 50, 50, 127}, {8, 0, 0, 0, 101, 50, 127},
        {8, 0, 0, 0, 50, -1, 127},   {8, 0, 0, 0, 50, 50, 128},
    };
    for (const ZRNoteStyleValue& value : bad)
        EXPECT_EQ(kor::updateNoteStyleAttrib(f.editor, id, value), ZR_E_INVALID_T2_NOTE_STYLE);
    EXPECT_EQ(kor::updateNoteStyleAttrib(f.editor, f.song.note->getObjID(), {}),
              ZR_E_EDIT_TARGET_NOT_FOUND);
    EXPECT_TRUE(f.editor.pending().empty());

    // Portamento flags are not range-checked.
    ASSERT_EQ(kor::updateNoteStyleAttrib(f.editor, id, {100, 0, 5, 1, 0, 100, 0}), 0u);
    std::int32_t value = 0;
    EXPECT_FALSE(f.style->getValue(L"bendDep", value)); // the live style waits for the commit
    ASSERT_EQ(f.editor.commit(), 1);
    std::vector<std::wstring> ids;
    f.style->getIDs(ids);
    EXPECT_EQ(ids.size(), 8u);
    EXPECT_TRUE(f.style->getValue(L"risePort", value) && value == 5);
    EXPECT_TRUE(f.style->getValue(L"vibType", value) && value == 3);
    EXPECT_EQ(f.history.entryAt(1).changes()[0].flags, 0x11u);
}

TEST(NoteStyleEdits, MovesInsertsAndDeletesCurvePoints) {
    StyleFixture f;
    const std::uint32_t listID = f.depth->getObjID();
    EXPECT_EQ(kor::moveNoteStyleSeqAttribElement(f.editor, f.first, {65537, 1}),
              ZR_E_INVALID_SEQUENTIAL_NOTE_STYLE_ATTRIBUTE_POSITION);
    EXPECT_EQ(kor::insertNoteStyleSeqAttribElement(f.editor, listID, {-1, 1}),
              ZR_E_INVALID_SEQUENTIAL_NOTE_STYLE_ATTRIBUTE_POSITION);
    EXPECT_EQ(kor::insertNoteStyleSeqAttribElement(f.editor, f.song.musical->noteList()->getObjID(),
                                                   {0, 1}),
              ZR_E_EDIT_TARGET_NOT_FOUND);
    EXPECT_EQ(kor::moveNoteStyleSeqAttribElement(f.editor, f.first, {65536, 1}),
              ZR_E_SEQUENTIAL_NOTE_STYLE_ATTRIBUTES_ARE_DUPLICATED);
    EXPECT_EQ(kor::moveNoteStyleSeqAttribElement(f.editor, f.first, {0, 70}), 0u);
    ASSERT_EQ(kor::moveNoteStyleSeqAttribElement(f.editor, f.first, {40000, 70}), 0u);
    // A point already at the position takes the value instead of a new point being made.
    ASSERT_EQ(kor::insertNoteStyleSeqAttribElement(f.editor, listID, {65536, 9}), 0u);
    ASSERT_EQ(kor::insertNoteStyleSeqAttribElement(f.editor, listID, {1000, 20}), 0u);
    ASSERT_EQ(kor::deleteNoteStyleSeqAttribElement(f.editor, f.last), 0u);
    EXPECT_EQ(kor::deleteNoteStyleSeqAttribElement(f.editor, f.last), 0u);
    EXPECT_EQ(kor::updateNoteStyleSeqAttribElement(f.editor, f.last, {0, 5}),
              ZR_E_EDIT_TARGET_DELETED);
    EXPECT_EQ(f.curve(), (std::vector<std::pair<std::int32_t, std::int32_t>>{{0, 64}, {65536, 0}}));

    ASSERT_EQ(f.editor.commit(), 1);
    EXPECT_EQ(f.curve(),
              (std::vector<std::pair<std::int32_t, std::int32_t>>{{1000, 20}, {40000, 70}}));
    EXPECT_EQ(f.song.doc.objects().lookup(f.last), nullptr);
    ASSERT_EQ(kor::undoAndNotify(f.history, f.host), 0u);
    EXPECT_EQ(f.curve(), (std::vector<std::pair<std::int32_t, std::int32_t>>{{0, 64}, {65536, 0}}));
}
