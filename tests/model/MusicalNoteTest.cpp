#include "model/MusicalNote.h"
#include "model/NoteStyleAttrib.h"
#include "model/NoteStyleSeqAttrib.h"
#include "model/NoteStyleSeqAttribElement.h"

#include "support/TestLeaf.h"

#include <korman/ErrorCodes.h>

#include <gtest/gtest.h>

namespace {

constexpr std::uint32_t kFail = 0x8000;

ZRMusicalNoteValues note(std::wstring lyric, std::vector<std::wstring> phonemes) {
    return {0, 480, 60, 64, 0, std::move(lyric), std::move(phonemes)};
}

} // namespace

TEST(MusicalNote, ValidatesValuesInOrderOnObjectsAndLooseRecords) {
    struct Case {
        ZRMusicalNoteValues values;
        std::uint32_t code;
    };
    const std::vector<std::wstring> elevenSyllables(11, L"kya"); // 43 characters joined
    const Case cases[] = {
        {note(L"ka", {L"k", L"a"}), 0},
        {{-1, 0, 128, 128, 0, L"", {}}, ZR_E_INVALID_NOTE_POSITION},
        {{0, 0, 128, 128, 0, L"", {}}, ZR_E_INVALID_NOTE_DURATION},
        {{0, 1, 128, 128, 0, L"", {}}, ZR_E_INVALID_NOTE_NUMBER},
        {{0, 1, 127, 128, 0, L"", {}}, ZR_E_INVALID_NOTE_VELOCITY},
        {note(L"", {}), ZR_E_INVALID_LYRIC},
        {note(std::wstring(33, L'a'), {L"a"}), ZR_E_INVALID_LYRIC},
        {note(L"a", {}), ZR_E_INVALID_PHONEME},
        {note(L"a", {L"a", L""}), ZR_E_INVALID_PHONEME},
        {note(L"a", {std::wstring(32, L'a')}), 0},
        {note(L"a", elevenSyllables), ZR_E_INVALID_PHONEME},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(kor::checkNoteValues(c.values), c.code) << std::hex << c.code;
        EXPECT_EQ(CZRMusicalNote(1, c.values).validate(), c.code) << std::hex << c.code;
    }
}

TEST(MusicalNote, CorrectRepairsWhatItCanAndReportsTheRest) {
    TestDocument doc;
    CZRMusicalNote bare(1, note(L"", {}));
    EXPECT_EQ(bare.correct(doc.table, doc.context), 1u);
    EXPECT_EQ(bare.getLyric(), L"a");
    ASSERT_EQ(bare.getPhonemeCount(), 1u);
    EXPECT_EQ(bare.getPhoneme(0), L"a");
    EXPECT_EQ(bare.getPhoneme(1), L"");
    EXPECT_EQ(bare.validate(), 0u);
    EXPECT_EQ(bare.correct(doc.table, doc.context), 0u);

    CZRMusicalNote loud(1, {0, -5, -3, 200, 0, L"a", {L"", std::wstring(40, L'x')}});
    EXPECT_EQ(loud.correct(doc.table, doc.context), 1u);
    EXPECT_EQ(loud.getDurTick(), 1);
    EXPECT_EQ(loud.getNoteNum(), 0);
    EXPECT_EQ(loud.getVelocity(), 127);
    EXPECT_EQ(loud.getPhoneme(0), L"a");
    EXPECT_EQ(loud.getPhoneme(1), std::wstring(32, L'x'));
    EXPECT_EQ(loud.validate(), ZR_E_INVALID_PHONEME); // 34 characters joined stay invalid

    CZRMusicalNote early(1, {-1, 480, 60, 64, 0, L"a", {L"a"}});
    EXPECT_EQ(early.correct(doc.table, doc.context), ZR_E_INVALID_NOTE_POSITION | kFail);
}

TEST(NoteStyleSeqAttrib, ChecksPointsAndDropsRepeatedOrOutOfRangeOnes) {
    TestDocument doc;
    auto* curves = kor::createObject<CZRNoteStyleSeqAttrib>(doc.context, ZR_NO_OBJ_ID);
    CZRNodeList* depth = doc.list(7);
    ASSERT_TRUE(curves->setElementList(L"vibDep", depth));
    auto point = [&](std::int32_t posNrm) {
        return kor::createObject<CZRNoteStyleSeqAttribElement>(
            doc.context, ZR_NO_OBJ_ID, ZRNoteStyleSeqAttribElementValues{posNrm, 1});
    };
    for (std::int32_t pos : {0, 32768, 65536})
        ASSERT_TRUE(depth->append(point(pos)));
    EXPECT_EQ(curves->validate(), 0u);
    EXPECT_EQ(curves->getElementList(L"vibDep"), depth);
    EXPECT_EQ(curves->getElementList(nullptr), nullptr);

    ASSERT_TRUE(depth->append(point(65536)));
    ASSERT_TRUE(depth->append(point(65537)));
    ASSERT_TRUE(depth->append(point(-4)));
    EXPECT_EQ(curves->validate(), ZR_E_SEQUENTIAL_NOTE_STYLE_ATTRIBUTES_ARE_DUPLICATED);
    EXPECT_EQ(curves->correct(doc.table, doc.context), 1u);
    EXPECT_EQ(depth->getCount(), 3u);
    EXPECT_EQ(curves->validate(), 0u);
    EXPECT_EQ(CZRNoteStyleSeqAttribElement(1, {65537, 0}).validate(),
              ZR_E_INVALID_SEQUENTIAL_NOTE_STYLE_ATTRIBUTE_POSITION);

    CTestLeaf* stranger = doc.leaf(0);
    ASSERT_TRUE(depth->append(stranger));
    EXPECT_EQ(curves->validate(), ZR_E_SEQUENTIAL_NOTE_STYLE_ATTRIBUTE_IS_NULL);
    EXPECT_EQ(curves->correct(doc.table, doc.context), 0x83078a03u);
    ASSERT_TRUE(depth->removeByID(stranger->getObjID()));

    ASSERT_TRUE(curves->setElementList(std::wstring(257, L'v'), doc.list(7)));
    EXPECT_EQ(curves->correct(doc.table, doc.context), 0x83078801u);
}

// IDs the default style plug-in names are shared numbers, others are kept by the map itself; both
// kinds sort together by their text, survive a copy apart from the source, and removing one ID
// leaves every other one found under its own text.
TEST(NoteStyleAttrib, KeepsSharedAndOwnIDsInOrderThroughCopiesAndRemovals) {
    TestDocument doc;
    auto* style = kor::createObject<CZRNoteStyleAttrib>(doc.context, ZR_NO_OBJ_ID);
    ASSERT_NE(style, nullptr);
    for (const auto& [id, value] : {std::pair{L"zeta", 1}, std::pair{L"accent", 2},
                                    std::pair{L"breath", 3}, std::pair{L"vibLen", 4}})
        style->setValue(id, value);
    style->setValue(L"breath", 5);
    std::vector<std::wstring> ids;
    style->getIDs(ids);
    EXPECT_EQ(ids, (std::vector<std::wstring>{L"accent", L"breath", L"vibLen", L"zeta"}));
    CZRNoteStyleAttrib copy(1);
    ASSERT_TRUE(copy.copyFrom(style, 0, nullptr));
    copy.setValue(L"zeta", 9);
    std::int32_t value = 0;
    EXPECT_TRUE(style->getValue(L"zeta", value) && value == 1);
    EXPECT_TRUE(copy.getValue(L"breath", value) && value == 5);

    auto* curves = kor::createObject<CZRNoteStyleSeqAttrib>(doc.context, ZR_NO_OBJ_ID);
    std::vector<CZRNodeList*> lists{doc.list(7), doc.list(7), doc.list(7), doc.list(7)};
    const std::vector<std::wstring> names{L"alpha", L"beta", L"gamma", L"vibDep"};
    for (std::size_t i = 0; i < lists.size(); ++i)
        ASSERT_TRUE(curves->setElementList(names[i], lists[i]));
    ASSERT_TRUE(curves->setElementList(L"alpha", nullptr));
    EXPECT_EQ(curves->getElementList(L"alpha"), nullptr);
    for (std::size_t i = 1; i < lists.size(); ++i)
        EXPECT_EQ(curves->getElementList(names[i].c_str()), lists[i]) << i;
}
