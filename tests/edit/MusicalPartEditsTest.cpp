#include "edit/MusicalPartEdits.h"

#include "support/ManagerFixture.h"
#include "support/PartEditFixture.h"

#include <gtest/gtest.h>

TEST(MusicalPartEdits, ChecksPlayTimeStartRoomAndVoiceInOrder) {
    PartEditFixture f;
    f.policy.minPlayTime = 120;
    f.policy.maxPlayTime = 3840;
    f.policy.maxPartsPerTrack = 4; // the track holds three parts already
    f.take();
    struct Row {
        std::int32_t posTick, playTime;
        std::uint32_t code;
    };
    const Row rows[] = {{1920, 119, ZR_E_INVALID_PART_PLAY_TIME},
                        {1920, 3841, ZR_E_INVALID_PART_PLAY_TIME},
                        {1919, 3841, ZR_E_INVALID_PART_PLAY_TIME},
                        {1919, 480, ZR_E_INVALID_PART_POSITION},
                        {1920, 120, 0},
                        {1920, 3840, ZR_E_INVALID_PART_NUMBER}};
    for (const Row& row : rows) {
        EXPECT_EQ(
            kor::insertMusicalPart(*f.editor, f.partList, {row.posTick, row.playTime, L"", L""}),
            row.code);
        EXPECT_EQ(kor::moveMusicalPart(*f.editor, f.aID, {row.posTick, row.playTime, L"", L""}),
                  row.code == ZR_E_INVALID_PART_NUMBER ? 0 : row.code);
    }
    EXPECT_EQ(kor::updateMusicalPart(*f.editor, f.aID, {0, 119, L"", L""}),
              ZR_E_INVALID_PART_PLAY_TIME);

    const ZRMusicalPartValue fine{1920, 480, L"", L""};
    const std::uint32_t tempoList = f.song.master->tempoList()->getObjID();
    EXPECT_EQ(kor::insertMusicalPart(*f.editor, tempoList, fine), ZR_E_EDIT_TARGET_NOT_FOUND);
    EXPECT_EQ(kor::updateMusicalPart(*f.editor, f.song.prosody->getObjID(), fine),
              ZR_E_EDIT_TARGET_NOT_FOUND);
    EXPECT_EQ(kor::insertMusicalPartWithSinger(*f.editor, f.partList, fine, {0, 1, 1}),
              ZR_E_VVOICE_NOT_FOUND);
}

TEST(MusicalPartEdits, MovesUpdatesAndDeletesThroughThePartList) {
    PartEditFixture f;
    // Moving goes through the part list record, which the later update of the part shares.
    ASSERT_EQ(kor::moveMusicalPart(*f.editor, f.aID, {5760, 960, L"moved", L""}), 0u);
    ASSERT_EQ(kor::updateMusicalPart(*f.editor, f.aID, {0, 1440, L"renamed", L"x"}), 0u);
    ASSERT_EQ(kor::deleteMusicalPart(*f.editor, f.bID), 0u);
    EXPECT_EQ(kor::deleteMusicalPart(*f.editor, f.bID), 0u);
    EXPECT_EQ(kor::updateMusicalPart(*f.editor, f.bID, {0, 480, L"", L""}),
              ZR_E_EDIT_TARGET_DELETED);
    f.commitUndoRedo();

    EXPECT_EQ(f.keys(f.song.track->partList()), (std::vector{3840, 5760}));
    EXPECT_EQ(f.live(f.bID), nullptr);
    const CZRMusicalPart* moved = f.live(f.aID);
    ASSERT_NE(moved, nullptr);
    EXPECT_EQ(moved->getPlayTime(), 1440);
    EXPECT_EQ(moved->getName(), L"renamed");
    EXPECT_EQ(f.keys(moved->noteList()), std::vector{0}); // the events moved with the part

    // An element record of a part conflicts with a later edit of its list.
    f.take();
    ASSERT_EQ(kor::updateMusicalPart(*f.editor, f.aID, {0, 480, L"", L""}), 0u);
    EXPECT_EQ(kor::deleteMusicalPart(*f.editor, f.aID), ZR_E_EDIT_CONFLICT);
}

TEST(MusicalPartEdits, CopiesPartsWithFreshIDs) {
    PartEditFixture f;
    f.policy.maxNoteTick = 8000;
    f.take();
    EXPECT_EQ(kor::copyMusicalPart(*f.editor, f.partList, 5760, 9999), ZR_E_COPY_SOURCE_NOT_FOUND);
    EXPECT_EQ(kor::copyMusicalPart(*f.editor, f.partList, 5760, f.song.prosody->getObjID()),
              ZR_E_EDIT_TARGET_WRONG_TYPE);
    EXPECT_EQ(kor::copyMusicalPart(*f.editor, f.partList, 1000, f.aID), ZR_E_INVALID_PART_POSITION);
    // The copy's note ends at 480; 7521 + 480 lies past the upper tick limit.
    EXPECT_EQ(kor::copyMusicalPart(*f.editor, f.partList, 7521, f.aID), ZR_E_INVALID_PART_DURATION);
    ASSERT_EQ(kor::copyMusicalPart(*f.editor, f.partList, 7520, f.aID), 0u);
    ASSERT_EQ(kor::copyMusicalPartTo(*f.editor, f.partList, {5760, 240, L"to", L""}, f.aID), 0u);
    f.commitUndoRedo();

    const CZRNodeList* parts = f.song.track->partList();
    ASSERT_EQ(f.keys(parts), (std::vector{1920, 3840, 3840, 5760, 7520}));
    const auto* to = kor::objCast<CZRMusicalPart>(parts->elementAt(3));
    const auto* copy = kor::objCast<CZRMusicalPart>(parts->elementAt(4));
    ASSERT_TRUE(to != nullptr && copy != nullptr);
    EXPECT_EQ(std::tuple(to->getName(), to->getPlayTime()), std::tuple(L"to", 240));
    EXPECT_EQ(std::tuple(copy->getName(), copy->getPlayTime()), std::tuple(L"M", 1920));
    ASSERT_EQ(copy->noteList()->getCount(), 1u);
    EXPECT_NE(copy->noteList()->elementAt(0)->getObjID(), f.song.note->getObjID());
}

namespace {
class MusicalPartSession : public kor::test::ManagerTest {};
} // namespace

TEST_F(MusicalPartSession, NewPartsSingTheManagersVoicesAndUndo) {
    CZRKorManagerIF manager;
    ASSERT_EQ(manager.sysInitialize(kor::test::validPolicy()), 1);
    ASSERT_NE(manager.korCreateNewSequenceWithMusicalPart(L"", L"", 1, L"", L"", 1920), nullptr);
    const IZRSequence* song = manager.korGetCurrentSequence()->getSequence();
    const IZRNodeList* parts =
        dynamic_cast<IZRZRTrack*>(song->getZRTrackList()->getAt(0))->getPartList();
    IZRKorEditorIF* editor = manager.editGetKorEditor(1);
    ASSERT_NE(editor, nullptr);
    ASSERT_EQ(editor->insertMusicalPart(parts->getObjID(), {5760, 960, L"", L""}), 1);
    ASSERT_EQ(
        editor->insertMusicalPartWithSinger(parts->getObjID(), {7680, 960, L"", L""}, {0, 1, 0}),
        1);
    ASSERT_EQ(editor->commit(), 1);
    parts = dynamic_cast<IZRZRTrack*>(song->getZRTrackList()->getAt(0))->getPartList();
    ASSERT_EQ(parts->getCount(), 3u);
    const auto voiceOf = [&](std::uint32_t index) {
        const auto* part = dynamic_cast<IZRMusicalPart*>(parts->getAt(index));
        const auto* singer = dynamic_cast<IZRMusicalSinger*>(part->getSingerList()->getAt(0));
        return std::pair(singer->getVBS(), singer->getVPC());
    };
    EXPECT_EQ(voiceOf(1), std::pair(0, 3)); // the default voice of the voice database
    EXPECT_EQ(voiceOf(2), std::pair(1, 0));
    ASSERT_EQ(manager.editUndo(), 1);
    EXPECT_EQ(
        dynamic_cast<IZRZRTrack*>(song->getZRTrackList()->getAt(0))->getPartList()->getCount(), 1u);
    manager.editReleaseKorEditor(editor);
}
