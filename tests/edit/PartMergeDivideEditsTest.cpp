#include "edit/PartMergeDivideEdits.h"

#include "edit/MusicalPartEdits.h"
#include "support/PartEditFixture.h"

#include <gtest/gtest.h>

TEST(PartMergeDivideEdits, MergeRefusesOverlapsByKindInOrder) {
    // A (at 1920) gets its last events of the row's kinds at 1921, tick 3841; B (at 3840) its
    // first ones at `bFirst`: 1 ties, which passes, 0 comes a tick earlier.
    const struct {
        std::vector<std::int32_t> controls;
        const wchar_t* style;
        std::int32_t bFirst;
        std::uint32_t code;
    } rows[] = {{{}, nullptr, 1, 0},
                {{}, nullptr, 0, ZR_E_PARTS_OVERLAP_NOTE},
                {{5, 0}, nullptr, 0, ZR_E_PARTS_OVERLAP_DYN},
                {{6}, nullptr, 0, ZR_E_PARTS_OVERLAP_PBS},
                {{}, L"POR", 0, ZR_E_PARTS_OVERLAP_POR},
                {{}, L"VEL", 0, ZR_E_PARTS_OVERLAP}};
    for (const auto& row : rows) {
        PartEditFixture f;
        for (const std::int32_t type : row.controls) {
            f.control(f.a, type, 1921, 1);
            f.control(f.b, type, row.bFirst, 2);
        }
        if (row.style != nullptr) {
            f.style(f.a, row.style, 1921);
            f.style(f.b, row.style, row.bFirst);
        } else if (row.controls.empty()) {
            f.note(f.a, 1921);
            f.note(f.b, row.bFirst);
        }
        EXPECT_EQ(f.codeOf(f.editor->mergeMusicalParts(f.bID, f.aID)), row.code) << row.bFirst;
    }
    PartEditFixture f;
    EXPECT_EQ(f.codeOf(f.editor->mergeMusicalParts(f.aID, f.aID)), ZR_E_PARTS_OVERLAP);
    f.note(f.a, 1921); // overlapping, yet a part of another track is refused first
    f.note(f.b, 0);
    auto* track = kor::createObject<CZRZRTrack>(f.song.doc.context(), ZR_NO_OBJ_ID,
                                                ZRZRTrackValues{L"T2", L"", 1});
    auto* parts = kor::createObject<CZRNodeList>(f.song.doc.context(), ZR_NO_OBJ_ID);
    parts->setListType(18, -1);
    ASSERT_TRUE(track->setPartList(parts) && f.song.sequence->zrTrackList()->append(track) &&
                f.song.track->partList()->removeByID(f.bID) && parts->append(f.b));
    EXPECT_EQ(f.codeOf(f.editor->mergeMusicalParts(f.aID, f.bID)), ZR_E_PARTS_NOT_ON_SAME_TRACK);
    ASSERT_TRUE(parts->removeByID(f.bID) && f.song.track->partList()->append(f.b));
    f.b->part().setPosTick(1920);
    EXPECT_EQ(f.codeOf(f.editor->mergeMusicalParts(f.aID, f.bID)), ZR_E_PARTS_OVERLAP);
}

TEST(PartMergeDivideEdits, MergeAppendsTheLaterEventsAtTheirTicks) {
    PartEditFixture f;
    f.b->part().setValues({2880, 2400, L"B", L""});
    f.note(f.b, 480);
    f.control(f.a, 0, 960, 10);
    f.control(f.b, 0, 0, 20); // at A's last DYN: hands over its value
    f.control(f.b, 0, 240, 30);
    f.style(f.b, L"VEL", 0); // A has no such list yet
    f.add<CZRMusicalSinger>(f.b->singerList(), ZRMusicalSingerValues{480, 1, 0});
    ASSERT_EQ(f.codeOf(f.editor->mergeMusicalParts(f.bID, f.aID)), 0u);
    f.commitUndoRedo();

    const CZRMusicalPart* merged = f.live(f.aID);
    ASSERT_TRUE(merged != nullptr && f.live(f.bID) == nullptr);
    EXPECT_EQ(merged->getPlayTime(), 2880 + 2400 - 1920);
    EXPECT_EQ(f.keys(merged->noteList()), (std::vector{0, 1440}));
    EXPECT_EQ(f.keys(merged->controlList(0)), (std::vector{960, 1200}));
    EXPECT_EQ(kor::objCast<CZRMusicalControl>(merged->controlList(0)->elementAt(0))->getValue(),
              20);
    EXPECT_EQ(f.keys(merged->styleControlLists().at(L"VEL")), std::vector{960});
    EXPECT_EQ(f.keys(merged->singerList()), std::vector{0}); // A keeps its own singers
    const auto& changes = f.history.entryAt(1).changes();
    ASSERT_EQ(changes.size(), 3u);
    EXPECT_EQ(std::tuple(changes[1].objID, changes[1].flags), std::tuple(f.bID, 0x14u));
}

TEST(PartMergeDivideEdits, DivideMovesTheTailToANewPartKeepingAbsoluteTicks) {
    PartEditFixture f;
    f.policy.maxPartsPerTrack = 4;
    f.take();
    // A (1920 to 3840): notes at 0 (480 long, across the cut at 600), 600 and 1000; DYN at 100
    // and 900; a second singer at 200.
    f.note(f.a, 600);
    f.note(f.a, 1000);
    f.control(f.a, 0, 100, 7);
    f.control(f.a, 0, 900, 8);
    f.add<CZRMusicalSinger>(f.a->singerList(), ZRMusicalSingerValues{200, 1, 0});
    EXPECT_EQ(f.codeOf(f.editor->divideMusicalPart(f.aID, 1920 + 59)), ZR_E_INVALID_PART_POSITION);
    EXPECT_EQ(f.codeOf(f.editor->divideMusicalPart(f.aID, 1920 + 1920)),
              ZR_E_INVALID_PART_POSITION);
    ASSERT_EQ(f.codeOf(f.editor->divideMusicalPart(f.aID, 1920 + 600)), 0u);
    EXPECT_EQ(f.codeOf(f.editor->divideMusicalPart(f.aID, 1920 + 300)), ZR_E_INVALID_PART_NUMBER);
    f.commitUndoRedo();

    const CZRNodeList* parts = f.song.track->partList();
    ASSERT_EQ(f.keys(parts), (std::vector{1920, 2520, 3840, 3840}));
    const CZRMusicalPart* head = f.live(f.aID);
    const auto* tail = kor::objCast<CZRMusicalPart>(parts->elementAt(1));
    ASSERT_TRUE(head != nullptr && tail != nullptr);
    EXPECT_EQ(std::tuple(head->getPlayTime(), tail->getPlayTime()), std::tuple(600, 1320));
    EXPECT_EQ(f.keys(head->noteList()), std::vector{0}); // the note across the cut stays whole
    EXPECT_EQ(f.keys(tail->noteList()), (std::vector{0, 400}));
    EXPECT_EQ(f.keys(head->controlList(0)), std::vector{100});
    EXPECT_EQ(f.keys(tail->controlList(0)), (std::vector{0, 300}));
    EXPECT_EQ(kor::objCast<CZRMusicalControl>(tail->controlList(0)->elementAt(0))->getValue(), 7);
    EXPECT_EQ(f.keys(head->singerList()), (std::vector{0, 200}));
    ASSERT_EQ(f.keys(tail->singerList()), std::vector{0});
    EXPECT_EQ(kor::objCast<CZRMusicalSinger>(tail->singerList()->elementAt(0))->values().vBS, 1);
}
