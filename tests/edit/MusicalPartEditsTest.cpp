#include "edit/MusicalPartEdits.h"

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
