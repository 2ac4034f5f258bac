#include "edit/MusicalControlEdits.h"
#include "edit/SingerEdits.h"
#include "edit/StyleEdits.h"

#include "model/MusicalControl.h"
#include "model/MusicalSinger.h"
#include "model/StyleControl.h"
#include "model/VVoice.h"
#include "support/EditSong.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

// The edit song with the voices (0, 0), (0, 1) and (1, 0) in its VVoice table, edited under an
// upper tick limit of 1920. Records of whole lists put copies in the song's place, so lists and
// events are looked up by ID after each commit.
struct EventFixture {
    EditSong song;
    TestHost host;
    CZRCommitHistory history{-1};
    std::unique_ptr<CZRKorEditorIF> editor;
    std::wstring original;

    EventFixture() {
        for (const auto& [vBS, vPC] : {std::pair{0, 0}, std::pair{0, 1}, std::pair{1, 0}})
            EXPECT_TRUE(song.sequence->vvoiceList()->insertSorted(kor::createObject<CZRVVoice>(
                song.doc.context(), ZR_NO_OBJ_ID, ZRVVoiceValues{vBS, vPC, L"", L"", {}})));
        original = song.dump();
        take();
    }
    /// A fresh editor: each commits once.
    CZRKorEditorIF& take() {
        ZRKorManagementPolicy policy;
        policy.maxNoteTick = 1920;
        editor = std::make_unique<CZRKorEditorIF>(host, policy, song.doc, history);
        return *editor;
    }
    const CZRNodeList& list(std::uint32_t listID) const {
        return *kor::objCast<CZRNodeList>(song.doc.objects().lookup(listID));
    }
    std::vector<std::int32_t> positions(std::uint32_t listID) const {
        std::vector<std::int32_t> out;
        for (const IZRMutableKorObject* element : list(listID).elements())
            out.push_back(element->getSortKey());
        return out;
    }
    template <class T> const T& at(std::uint32_t listID, std::uint32_t index) const {
        return *kor::objCast<T>(list(listID).elementAt(index));
    }
    std::uint32_t undo() { return kor::undoAndNotify(history, host); }
    /// Undoes two commits: the song is as it was after the first, then as it was at the start.
    void expectUndoesTo(const std::wstring& afterFirst) {
        ASSERT_EQ(undo(), 0u);
        EXPECT_EQ(song.dump(), afterFirst);
        ASSERT_EQ(undo(), 0u);
        EXPECT_EQ(song.dump(), original);
    }
};

} // namespace

TEST(PartEventEdits, SingersNameKnownVoicesAndKeepTheHead) {
    EventFixture f;
    const auto savedDefault = kor::defaultSinger();
    kor::setDefaultSinger(0, 1);
    const std::uint32_t singers = f.song.musical->singerList()->getObjID();
    const std::uint32_t head = f.song.musical->singerList()->elementAt(0)->getObjID();
    CZRKorEditorIF& editor = *f.editor;

    EXPECT_EQ(kor::updateSinger(editor.session(), head, {-5, 9, 9}), ZR_E_VVOICE_NOT_FOUND);
    EXPECT_EQ(kor::insertSinger(editor.session(), singers, {-1, 0, 1}),
              ZR_E_INVALID_SINGER_POSITION);
    EXPECT_EQ(
        kor::insertSinger(editor.session(), f.song.musical->noteList()->getObjID(), {480, 0, 1}),
        ZR_E_EDIT_TARGET_NOT_FOUND);
    EXPECT_EQ(kor::moveSinger(editor.session(), head, {480, 0, 0}),
              ZR_E_HEAD_EVENT_UPDATE_NOT_ALLOWED);
    ASSERT_EQ(kor::insertSinger(editor.session(), singers, {960, 0, 1}), 0u);
    ASSERT_EQ(kor::insertSinger(editor.session(), singers, {960, 1, 0}),
              0u); // taken: sets its voice
    ASSERT_EQ(kor::insertSinger(editor.session(), singers, {1440, 0, 0}), 0u);
    ASSERT_EQ(kor::deleteSinger(editor.session(), head),
              0u); // the head stays, with the default voice
    EXPECT_EQ(f.song.musical->singerList()->getCount(), 1u);
    ASSERT_EQ(editor.commit(), 1);
    kor::setDefaultSinger(savedDefault.first, savedDefault.second);

    ASSERT_EQ(f.positions(singers), (std::vector{0, 960, 1440}));
    EXPECT_EQ(f.at<CZRMusicalSinger>(singers, 0).getObjID(), head);
    EXPECT_EQ(f.at<CZRMusicalSinger>(singers, 0).getVPC(), 1);
    EXPECT_EQ(f.at<CZRMusicalSinger>(singers, 1).getVBS(), 1);
    std::vector<std::uint32_t> flags;
    for (const ZRChangeEntry& change : f.history.entryAt(1).changes())
        flags.push_back(change.flags);
    EXPECT_EQ(flags, (std::vector<std::uint32_t>{0x12, 0x11, 0x11, 0x12, 0x11, 0x11}));
    const std::wstring afterFirst = f.song.dump();

    CZRKorEditorIF& second = f.take();
    const std::uint32_t middle = f.at<CZRMusicalSinger>(singers, 1).getObjID();
    const std::uint32_t last = f.at<CZRMusicalSinger>(singers, 2).getObjID();
    EXPECT_EQ(kor::moveSinger(second.session(), last, {960, 0, 0}), ZR_E_SINGERS_ARE_DUPLICATED);
    ASSERT_EQ(kor::moveSinger(second.session(), last, {480, 0, 1}), 0u);
    ASSERT_EQ(kor::deleteSinger(second.session(), middle), 0u);
    EXPECT_EQ(kor::updateSinger(second.session(), middle, {0, 0, 0}), ZR_E_EDIT_TARGET_DELETED);
    ASSERT_EQ(second.commit(), 1);
    EXPECT_EQ(f.positions(singers), (std::vector{0, 480}));
    EXPECT_EQ(f.song.doc.objects().lookup(middle), nullptr);

    f.expectUndoesTo(afterFirst);
}

TEST(PartEventEdits, ControlsStayInTheirKindsListAndUnderTheTickLimit) {
    EventFixture f;
    const std::uint32_t dyn = f.song.musical->controlList(0)->getObjID();
    const std::uint32_t por =
        kor::findMapList(f.song.musical->styleControlLists(), L"POR")->getObjID();
    const std::uint32_t singers = f.song.musical->singerList()->getObjID();
    CZRKorEditorIF& editor = *f.editor;

    struct Row {
        std::int32_t posTick, type;
        std::wstring id;
        std::uint32_t musical, style;
    };
    const Row rows[] = {
        {-1, 0, L"POR", ZR_E_INVALID_MUSICAL_CONTROL_POSITION, ZR_E_INVALID_STYLE_CONTROL_POSITION},
        {1921, 0, L"POR", ZR_E_INVALID_MUSICAL_CONTROL_POSITION,
         ZR_E_INVALID_STYLE_CONTROL_POSITION},
        {0, 7, L"", ZR_E_INVALID_MUSICAL_CONTROL_ID, ZR_E_INVALID_STYLE_CONTROL_ID},
        {0, 1, L"XYZ", ZR_E_INVALID_MUSICAL_CONTROL_ID, ZR_E_INVALID_STYLE_CONTROL_ID},
        {0, 0, std::wstring(257, L'P'), 0, ZR_E_INVALID_STYLE_CONTROL_ID},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(kor::insertMusicalControl(editor.session(), dyn, {row.posTick, row.type, 64}),
                  row.musical);
        EXPECT_EQ(kor::insertStyleControl(editor.session(), por, {row.posTick, row.id, 5}),
                  row.style);
    }
    EXPECT_EQ(kor::insertMusicalControl(editor.session(), singers, {0, 0, 64}),
              ZR_E_EDIT_TARGET_NOT_FOUND);
    EXPECT_EQ(kor::insertStyleControl(editor.session(), singers, {0, L"POR", 5}),
              ZR_E_EDIT_TARGET_NOT_FOUND);
    ASSERT_EQ(kor::insertMusicalControl(editor.session(), dyn, {480, 0, 80}), 0u);
    ASSERT_EQ(kor::insertMusicalControl(editor.session(), dyn, {1920, 0, 90}), 0u);
    ASSERT_EQ(kor::insertStyleControl(editor.session(), por, {240, L"POR", 5}), 0u);
    ASSERT_EQ(kor::insertStyleControl(editor.session(), por, {960, L"POR", 6}), 0u);
    ASSERT_EQ(editor.commit(), 1);
    EXPECT_EQ(f.positions(dyn), (std::vector{0, 480, 1920}));
    EXPECT_EQ(f.at<CZRMusicalControl>(dyn, 0).getValue(), 64);
    const std::wstring afterFirst = f.song.dump();

    CZRKorEditorIF& second = f.take();
    const std::uint32_t dynFirst = f.at<CZRMusicalControl>(dyn, 0).getObjID();
    const std::uint32_t dynLast = f.at<CZRMusicalControl>(dyn, 2).getObjID();
    const std::uint32_t porFirst = f.at<CZRStyleControl>(por, 0).getObjID();
    const std::uint32_t porLast = f.at<CZRStyleControl>(por, 1).getObjID();
    EXPECT_EQ(kor::moveMusicalControl(second.session(), dynLast, {480, 0, 1}),
              ZR_E_MUSICAL_CONTROLS_ARE_DUPLICATED);
    EXPECT_EQ(kor::moveStyleControl(second.session(), porLast, {240, L"POR", 1}),
              ZR_E_STYLE_CONTROLS_ARE_DUPLICATED);
    EXPECT_EQ(kor::updateMusicalControl(second.session(), dynFirst, {0, 1, 10}),
              ZR_E_INVALID_MUSICAL_CONTROL_ID);
    ASSERT_EQ(kor::updateMusicalControl(second.session(), dynFirst, {-9, 0, 10}),
              0u); // position ignored
    ASSERT_EQ(kor::updateStyleControl(second.session(), porFirst, {-9, L"POR", 7}), 0u);
    ASSERT_EQ(kor::moveMusicalControl(second.session(), dynLast, {1200, 0, 95}), 0u);
    ASSERT_EQ(kor::moveStyleControl(second.session(), porLast, {120, L"POR", 8}), 0u);
    ASSERT_EQ(kor::deleteStyleControl(second.session(), porFirst), 0u);
    ASSERT_EQ(second.commit(), 1);
    EXPECT_EQ(f.positions(dyn), (std::vector{0, 480, 1200}));
    EXPECT_EQ(f.at<CZRMusicalControl>(dyn, 0).getValue(), 10);
    EXPECT_EQ(f.positions(por), (std::vector{120}));
    EXPECT_EQ(f.at<CZRStyleControl>(por, 0).getVal(), 8);

    f.expectUndoesTo(afterFirst);
}
