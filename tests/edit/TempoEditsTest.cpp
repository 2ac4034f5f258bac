#include "edit/TempoEdits.h"

#include "edit/EditorHost.h"

#include "support/EditSong.h"

#include <gtest/gtest.h>

namespace {

struct TempoFixture {
    EditSong song;
    TestHost host;
    CZRCommitHistory history{-1};
    CZRKorEditorIF editor{host, ZRKorManagementPolicy{}, song.doc, history};
    std::uint32_t head = song.headTempo->getObjID();
    std::uint32_t second = song.tempo->getObjID();
};

} // namespace

TEST(TempoEdits, ChecksValuesBeforeRecordingAnything) {
    TempoFixture f;
    struct Row {
        std::int32_t posTick, tempo;
        std::uint32_t update, move;
    };
    const Row rows[] = {
        {2400, 1999, ZR_E_INVALID_TEMPO_VALUE, ZR_E_INVALID_TEMPO_VALUE},
        {2400, 30001, ZR_E_INVALID_TEMPO_VALUE, ZR_E_INVALID_TEMPO_VALUE},
        {-1, 12000, 0, ZR_E_INVALID_TEMPO_POSITION},
        {2400, 2000, 0, 0},
        {2400, 30000, 0, 0},
    };
    for (const Row& row : rows) {
        f.editor.discard();
        EXPECT_EQ(kor::updateTempo(f.editor.session(), f.second, {row.posTick, row.tempo}),
                  row.update);
        f.editor.discard();
        EXPECT_EQ(kor::moveTempo(f.editor.session(), f.second, {row.posTick, row.tempo}), row.move);
        EXPECT_EQ(f.editor.session().pending().size(), row.move == 0 ? 1u : 0u);
    }
    EXPECT_EQ(kor::updateTempo(f.editor.session(), 9999, {0, 12000}), ZR_E_EDIT_TARGET_NOT_FOUND);
    EXPECT_EQ(kor::deleteTempo(f.editor.session(), f.song.master->getObjID()),
              ZR_E_EDIT_TARGET_NOT_FOUND);
}

TEST(TempoEdits, KeepsTheHeadTempoAndRefusesDuplicates) {
    TempoFixture f;
    // Seconds (16.16) at tick 3840, 1920 ticks past the second tempo, read through the live
    // master track: conversions reuse the tempo map they built until a tempo changes.
    const auto secAt3840 = [&f] { return f.song.sequence->masterTrack()->tickToSec(3840); };
    EXPECT_EQ(secAt3840(), 305834); // 2 s at 120 bpm, then 2.67 s at 90 bpm
    EXPECT_EQ(kor::moveTempo(f.editor.session(), f.head, {480, 12000}),
              ZR_E_HEAD_EVENT_UPDATE_NOT_ALLOWED);
    EXPECT_EQ(kor::moveTempo(f.editor.session(), f.second, {0, 12000}), ZR_E_TEMPOS_ARE_DUPLICATED);
    EXPECT_EQ(kor::moveTempo(f.editor.session(), f.second, {1920, 8000}), 0u);
    ASSERT_EQ(kor::updateTempo(f.editor.session(), f.head, {0, 15000}), 0u);
    ASSERT_EQ(kor::deleteTempo(f.editor.session(), f.head), 0u);
    EXPECT_EQ(f.song.headTempo->getBPM(), 12000);
    // An insert at a taken position sets that tempo's value instead of adding one.
    ASSERT_EQ(kor::insertTempo(f.editor.session(), {1920, 10000}), 0u);
    ASSERT_EQ(f.editor.commit(), 1);

    EXPECT_EQ(f.song.tempoIDs(), (std::vector{f.head, f.second}));
    EXPECT_EQ(f.song.liveTempo(f.head)->getBPM(), kor::kDefaultTempo);
    EXPECT_EQ(f.song.liveTempo(f.second)->getBPM(), 10000);
    const auto& changes = f.history.entryAt(1).changes();
    ASSERT_EQ(changes.size(), 6u);
    EXPECT_EQ(changes[0].flags, 0x19u);
    EXPECT_EQ(changes[2].flags, 0x11u);
    EXPECT_EQ(changes[4].posTick, 0);

    EXPECT_EQ(secAt3840(), 288358); // then 2.4 s at 100 bpm
    ASSERT_EQ(kor::undoAndNotify(f.history, f.host), 0u);
    EXPECT_EQ(secAt3840(), 305834);
    ASSERT_EQ(kor::redoAndNotify(f.history, f.host), 0u);
    EXPECT_EQ(secAt3840(), 288358);
}
