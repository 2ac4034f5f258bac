#include "edit/MusicalPartEdits.h"

#include "support/ManagerFixture.h"
#include "support/PartEditFixture.h"

#include <gtest/gtest.h>

TEST(MusicalPartEdits, ChecksPlayTimeStartAndRoomInOrder) {
    PartEditFixture f;
    f.policy.maxPartsPerTrack = 4;
    f.policy.maxPlayTime = 3840;
    f.policy.minPlayTime = 120;
    f.take();
    const struct {
        std::int32_t posTick, playTime;
        std::uint32_t code;
    } rows[] = {{1920, 119, ZR_E_INVALID_PART_PLAY_TIME},
                {1919, 3841, ZR_E_INVALID_PART_PLAY_TIME},
                {1919, 480, ZR_E_INVALID_PART_POSITION},
                {1920, 120, 0},
                {1920, 3840, ZR_E_INVALID_PART_NUMBER}}; // the track holds three parts already
    for (const auto& row : rows) {
        const ZRMusicalPartValue value{row.posTick, row.playTime, L"", L""};
        EXPECT_EQ(f.codeOf(f.editor->insertMusicalPart(f.partList, value)), row.code);
        EXPECT_EQ(f.codeOf(f.editor->moveMusicalPart(f.aID, value)),
                  row.code == ZR_E_INVALID_PART_NUMBER ? 0 : row.code);
    }
    const ZRMusicalPartValue fine{1920, 480, L"", L""};
    EXPECT_EQ(f.codeOf(f.editor->insertMusicalPart(f.song.master->tempoList()->getObjID(), fine)),
              ZR_E_EDIT_TARGET_NOT_FOUND);
    EXPECT_EQ(f.codeOf(f.editor->updateMusicalPart(f.song.prosody->getObjID(), fine)),
              ZR_E_EDIT_TARGET_NOT_FOUND);
    EXPECT_EQ(f.codeOf(f.editor->insertMusicalPartWithSinger(f.partList, fine, {0, 1, 1})),
              ZR_E_VVOICE_NOT_FOUND);
}

TEST(MusicalPartEdits, MovesUpdatesDeletesAndCopiesThroughThePartList) {
    PartEditFixture f;
    f.policy.maxNoteTick = 8000;
    f.take();
    // The update shares the part list record the move obtained.
    ASSERT_EQ(f.codeOf(f.editor->moveMusicalPart(f.aID, {5760, 960, L"moved", L""})), 0u);
    ASSERT_EQ(f.codeOf(f.editor->updateMusicalPart(f.aID, {0, 1440, L"renamed", L""})), 0u);
    ASSERT_EQ(f.codeOf(f.editor->deleteMusicalPart(f.bID)), 0u);
    EXPECT_EQ(f.codeOf(f.editor->deleteMusicalPart(f.bID)), 0u);
    EXPECT_EQ(f.codeOf(f.editor->updateMusicalPart(f.bID, {0, 480, L"", L""})),
              ZR_E_EDIT_TARGET_DELETED);
    EXPECT_EQ(f.codeOf(f.editor->copyMusicalPart(f.partList, 1920, 9999)),
              ZR_E_COPY_SOURCE_NOT_FOUND);
    EXPECT_EQ(f.codeOf(f.editor->copyMusicalPart(f.partList, 1920, f.song.prosody->getObjID())),
              ZR_E_EDIT_TARGET_WRONG_TYPE);
    // The live A's note ends at 480, which a copy at 7521 would place past the upper tick limit.
    EXPECT_EQ(f.codeOf(f.editor->copyMusicalPart(f.partList, 7521, f.aID)),
              ZR_E_INVALID_PART_DURATION);
    ASSERT_EQ(f.codeOf(f.editor->copyMusicalPartTo(f.partList, {1920, 240, L"to", L""}, f.aID)),
              0u);
    f.commitUndoRedo();

    const CZRNodeList* parts = f.song.track->partList();
    ASSERT_EQ(f.keys(parts), (std::vector{1920, 3840, 5760}));
    const auto* copy = kor::objCast<CZRMusicalPart>(parts->elementAt(0));
    const CZRMusicalPart* moved = f.live(f.aID);
    ASSERT_TRUE(copy != nullptr && moved != nullptr && f.live(f.bID) == nullptr);
    EXPECT_EQ(std::tuple(moved->getName(), moved->getPlayTime()), std::tuple(L"renamed", 1440));
    EXPECT_EQ(std::tuple(copy->getName(), copy->getPlayTime()), std::tuple(L"to", 240));
    EXPECT_EQ(f.keys(moved->noteList()), std::vector{0}); // the events moved with the part
    ASSERT_EQ(f.keys(copy->noteList()), std::vector{0});
    EXPECT_NE(copy->noteList()->elementAt(0)->getObjID(), f.song.note->getObjID());

    // An element record of a part conflicts with a later edit of its list.
    f.take();
    ASSERT_EQ(f.codeOf(f.editor->updateMusicalPart(f.aID, {0, 480, L"", L""})), 0u);
    EXPECT_EQ(f.codeOf(f.editor->deleteMusicalPart(f.aID)), ZR_E_EDIT_CONFLICT);
}

namespace {
class MusicalPartSession : public kor::test::ManagerTest {};
} // namespace

TEST_F(MusicalPartSession, NewPartsSingTheManagersVoices) {
    CZRKorManagerIF manager;
    ASSERT_EQ(manager.sysInitialize(kor::test::validPolicy()), 1);
    ASSERT_NE(manager.korCreateNewSequenceWithMusicalPart(L"", L"", 1, L"", L"", 1920), nullptr);
    const IZRSequence* song = manager.korGetCurrentSequence()->getSequence();
    const auto parts = [song] {
        return dynamic_cast<IZRZRTrack*>(song->getZRTrackList()->getAt(0))->getPartList();
    };
    IZRKorEditorIF* editor = manager.editGetKorEditor(1);
    ASSERT_NE(editor, nullptr);
    const std::uint32_t list = parts()->getObjID();
    ASSERT_EQ(editor->insertMusicalPart(list, {5760, 960, L"", L""}), 1);
    ASSERT_EQ(editor->insertMusicalPartWithSinger(list, {7680, 960, L"", L""}, {0, 1, 0}), 1);
    ASSERT_EQ(editor->commit(), 1);
    ASSERT_EQ(parts()->getCount(), 3u);
    const auto voiceOf = [&](std::uint32_t index) {
        const auto* part = dynamic_cast<IZRMusicalPart*>(parts()->getAt(index));
        const auto* singer = dynamic_cast<IZRMusicalSinger*>(part->getSingerList()->getAt(0));
        return std::pair(singer->getVBS(), singer->getVPC());
    };
    EXPECT_EQ(voiceOf(1), std::pair(0, 3)); // the voice database's default voice
    EXPECT_EQ(voiceOf(2), std::pair(1, 0));
    manager.editReleaseKorEditor(editor);
}
