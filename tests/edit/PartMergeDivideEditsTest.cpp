#include "edit/PartMergeDivideEdits.h"

#include "edit/MusicalPartEdits.h"
#include "support/PartEditFixture.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>

TEST(PartMergeDivideEdits, MergeRefusesOverlapsByKindInOrder) {
    struct Row {
        const char* what;
        std::function<void(PartEditFixture&)> arrange;
        std::uint32_t code;
    };
    // A starts at 1920; B is moved to 2400, so that B's tick 520 is A's tick 1000.
    const auto notes = [](std::int32_t bNote) {
        return [bNote](PartEditFixture& f) {
            f.note(f.a, 1000);
            f.b->part().setPosTick(2400);
            f.note(f.b, bNote);
        };
    };
    const auto late = [](PartEditFixture& f, std::initializer_list<std::int32_t> types) {
        for (const std::int32_t type : types) {
            f.control(f.a, type, 1921, 1);
            f.control(f.b, type, 0, 2);
        }
    };
    const Row rows[] = {
        {"note at A's last note", notes(520), 0},
        {"note a tick earlier", notes(519), ZR_E_PARTS_OVERLAP_NOTE},
        {"PIT and DYN",
         [&](auto& f) {
             late(f, {5, 0});
         },
         ZR_E_PARTS_OVERLAP_DYN},
        {"PBS", [&](auto& f) { late(f, {6}); }, ZR_E_PARTS_OVERLAP_PBS},
        {"POR",
         [](auto& f) {
             f.style(f.a, L"POR", 1921, 1);
             f.style(f.b, L"POR", 0, 2);
         },
         ZR_E_PARTS_OVERLAP_POR},
        {"other style",
         [](auto& f) {
             f.style(f.a, L"VEL", 1921, 1);
             f.style(f.b, L"VEL", 0, 2);
         },
         ZR_E_PARTS_OVERLAP},
        {"same start", [](auto& f) { f.b->part().setPosTick(1920); }, ZR_E_PARTS_OVERLAP},
    };
    for (const Row& row : rows) {
        PartEditFixture f;
        row.arrange(f);
        EXPECT_EQ(kor::mergeMusicalParts(*f.editor, f.bID, f.aID), row.code) << row.what;
    }
    PartEditFixture f;
    EXPECT_EQ(kor::mergeMusicalParts(*f.editor, f.aID, f.aID), ZR_E_PARTS_OVERLAP);
    // Parts of two tracks are refused before their events are compared.
    auto* track = kor::createObject<CZRZRTrack>(f.song.doc.context(), ZR_NO_OBJ_ID,
                                                ZRZRTrackValues{L"T2", L"", 1});
    auto* parts = kor::createObject<CZRNodeList>(f.song.doc.context(), ZR_NO_OBJ_ID);
    parts->setListType(18, -1);
    ASSERT_TRUE(track->setPartList(parts) && f.song.sequence->zrTrackList()->append(track) &&
                f.song.track->partList()->removeByID(f.bID) && parts->append(f.b));
    f.note(f.b, 0);
    f.note(f.a, 1921);
    EXPECT_EQ(kor::mergeMusicalParts(*f.editor, f.aID, f.bID), ZR_E_PARTS_NOT_ON_SAME_TRACK);
    EXPECT_TRUE(f.editor->pending().empty());
}

TEST(PartMergeDivideEdits, MergeAppendsTheLaterEventsAtTheirTicks) {
    PartEditFixture f;
    f.note(f.b, 480);
    f.control(f.a, 0, 960, 10);
    f.control(f.b, 0, 0, 20); // at A's last DYN: hands over its value
    f.control(f.b, 0, 240, 30);
    f.style(f.b, L"VEL", 0, 5); // A has no such list yet
    f.singer(f.b, 480, 1, 0);
    f.b->part().setPlayTime(2400);
    f.b->part().setPosTick(2880);
    ASSERT_EQ(kor::mergeMusicalParts(*f.editor, f.bID, f.aID), 0u);
    f.commitUndoRedo();

    EXPECT_EQ(f.live(f.bID), nullptr);
    const CZRMusicalPart* merged = f.live(f.aID);
    ASSERT_NE(merged, nullptr);
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
    // A: notes at 0 (480 long, so it straddles 240), 600 and 1000; DYN at 100 and 900; a second
    // singer at 200; played 1920 ticks from 1920.
    f.note(f.a, 600);
    f.note(f.a, 1000);
    f.control(f.a, 0, 100, 7);
    f.control(f.a, 0, 900, 8);
    f.singer(f.a, 200, 1, 0);
    EXPECT_EQ(kor::divideMusicalPart(*f.editor, f.aID, 1920 + 59), ZR_E_INVALID_PART_POSITION);
    EXPECT_EQ(kor::divideMusicalPart(*f.editor, f.aID, 1920 + 1920), ZR_E_INVALID_PART_POSITION);
    ASSERT_EQ(kor::divideMusicalPart(*f.editor, f.aID, 1920 + 600), 0u);
    EXPECT_EQ(kor::divideMusicalPart(*f.editor, f.aID, 1920 + 300), ZR_E_INVALID_PART_NUMBER);
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
    ASSERT_EQ(f.keys(tail->singerList()), std::vector{0});
    EXPECT_EQ(kor::objCast<CZRMusicalSinger>(tail->singerList()->elementAt(0))->values().vBS, 1);
    EXPECT_EQ(f.keys(head->singerList()), (std::vector{0, 200}));
}

TEST(PartMergeDivideEdits, ExtendMovesTheHeadAndKeepsEventsInPlace) {
    PartEditFixture f;
    f.policy.maxPlayTime = 2400;
    f.policy.maxNoteTick = 1000;
    f.take();
    f.singer(f.b, 240, 1, 0);
    f.control(f.b, 3, 480, 1);
    EXPECT_EQ(kor::extendMusicalPartHead(*f.editor, f.bID, 0), 0u);
    EXPECT_TRUE(f.editor->pending().empty());
    const struct {
        std::int32_t amount;
        std::uint32_t code;
    } rows[] = {{-1, ZR_E_INVALID_PART_EXTEND_DURATION},
                {1921, ZR_E_INVALID_PART_POSITION},
                {521, ZR_E_INVALID_PART_DURATION},
                {500, ZR_E_INVALID_PART_PLAY_TIME},
                {480, 0}};
    EXPECT_EQ(kor::extendMusicalPartHead(*f.editor, f.aID, 1), ZR_E_INVALID_PART_POSITION);
    for (const auto& row : rows)
        EXPECT_EQ(kor::extendMusicalPartHead(*f.editor, f.bID, row.amount), row.code) << row.amount;
    f.commitUndoRedo();

    const CZRMusicalPart* b = f.live(f.bID);
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(std::tuple(b->getPosTick(), b->getPlayTime()), std::tuple(3360, 2400));
    EXPECT_EQ(f.keys(b->singerList()), (std::vector{0, 720}));
    EXPECT_EQ(f.keys(b->controlList(3)), std::vector{960});
}

// Random part edits, each committed, undo back to the start and redo to the end.
TEST(PartMergeDivideEdits, RandomEditsUndoAndRedoToTheSameTrees) {
    PartEditFixture f;
    for (int pos = 0; pos < 1920; pos += 320) {
        f.note(f.a, pos);
        f.control(f.a, pos % 7, pos, pos);
        f.style(f.a, L"POR", pos, 64);
    }
    std::mt19937 random(20261206);
    const auto pick = [&](int from, int to) {
        return std::uniform_int_distribution(from, to)(random);
    };
    const auto anyPart = [&] {
        std::vector<std::uint32_t> ids;
        for (const IZRMutableKorObject* part : f.song.track->partList()->elements())
            if (part->getObjType() == ZRObjType::MusicalPart) ids.push_back(part->getObjID());
        return ids.empty()
                   ? ZR_NO_OBJ_ID
                   : ids[static_cast<std::size_t>(pick(0, static_cast<int>(ids.size()) - 1))];
    };
    std::vector<std::wstring> dumps{f.song.dump()};
    for (int step = 0; step < 100; ++step) {
        f.take();
        const std::uint32_t part = anyPart();
        const ZRMusicalPartValue value{pick(1920, 20000), pick(60, 2400), L"r", L""};
        std::uint32_t code = 0;
        switch (pick(0, 7)) {
        case 0:
            code = kor::insertMusicalPart(*f.editor, f.partList, value);
            break;
        case 1:
            code = kor::moveMusicalPart(*f.editor, part, value);
            break;
        case 2:
            code = kor::updateMusicalPart(*f.editor, part, value);
            break;
        case 3:
            code = kor::copyMusicalPartTo(*f.editor, f.partList, value, part);
            break;
        case 4:
            code = kor::divideMusicalPart(*f.editor, part, pick(1920, 20000));
            break;
        case 5:
            code = kor::mergeMusicalParts(*f.editor, part, anyPart());
            break;
        case 6:
            code = kor::extendMusicalPartHead(*f.editor, part, pick(0, 600));
            break;
        default:
            code = kor::deleteMusicalPart(*f.editor, part);
            break;
        }
        if (code != 0 || f.editor->pending().empty()) continue;
        ASSERT_EQ(f.editor->commit(), 1);
        dumps.push_back(f.song.dump());
    }
    ASSERT_GT(dumps.size(), 40u);
    for (std::size_t i = dumps.size() - 1; i > 0; --i) {
        ASSERT_EQ(kor::undoAndNotify(f.history, f.host), 0u);
        ASSERT_EQ(f.song.dump(), dumps[i - 1]) << i;
    }
    for (std::size_t i = 1; i < dumps.size(); ++i) {
        ASSERT_EQ(kor::redoAndNotify(f.history, f.host), 0u);
        ASSERT_EQ(f.song.dump(), dumps[i]) << i;
    }
}
