#include "edit/CommitHistory.h"

#include "edit/EditCommit.h"
#include "support/TestRecord.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

struct HistoryFixture {
    TestDocument doc;
    CTestLeaf* tempo = doc.leaf(0, 12000);

    std::vector<std::unique_ptr<AZREditCommand>> pending;

    // One commit that sets the tempo value, pending; its change entry carries the value as its
    // position.
    std::vector<std::unique_ptr<AZREditCommand>>& edit(std::int32_t value) {
        auto record = std::make_unique<TestRecord>(doc.table, tempo->getObjID());
        EXPECT_TRUE(record->capture());
        record->workingCopy()->value = value;
        record->addChange({tempo->getObjID(), kTempoChanged, value});
        pending.clear();
        pending.push_back(std::move(record));
        return pending;
    }
};

} // namespace

TEST(CommitHistory, CommitUndoAndRedoExchangeTheRecords) {
    HistoryFixture f;
    CZRCommitHistory history(-1);
    std::vector<std::uint32_t> ids;

    ASSERT_TRUE(history.commit(f.edit(6000), 0, ids));
    EXPECT_EQ(f.tempo->value, 6000);
    EXPECT_EQ(ids, std::vector{f.tempo->getObjID()});
    EXPECT_EQ(history.currentCommitPoint(), 2u);
    EXPECT_TRUE(history.canUndo());

    ASSERT_TRUE(history.undo(ids));
    EXPECT_EQ(f.tempo->value, 12000);
    EXPECT_EQ(history.currentCommitPoint(), 1u);
    EXPECT_TRUE(history.canRedo());
    EXPECT_FALSE(history.canUndo());

    ASSERT_TRUE(history.redo(ids));
    EXPECT_EQ(f.tempo->value, 6000);
    ASSERT_TRUE(history.undo(ids));

    // A new commit discards the redoable one; its marker gets the next number, not the old one.
    ASSERT_TRUE(history.commit(f.edit(9000), 0, ids));
    EXPECT_EQ(f.tempo->value, 9000);
    EXPECT_EQ(history.currentCommitPoint(), 3u);
    EXPECT_EQ(history.entryCount(), 3u);
    EXPECT_FALSE(history.canRedo());

    // Nothing to redo, and a commit of markers alone, change nothing.
    ASSERT_TRUE(history.redo(ids));
    std::vector<std::unique_ptr<AZREditCommand>> markersOnly;
    markersOnly.push_back(std::make_unique<CZREditCommit>(77));
    ASSERT_TRUE(history.commit(markersOnly, 0, ids));
    EXPECT_EQ(history.entryCount(), 3u);
}

TEST(CommitHistory, LimitKeepsOnlyTheNewestCommitsUndoable) {
    HistoryFixture f;
    CZRCommitHistory history(1);
    std::vector<std::uint32_t> ids;
    for (std::int32_t value : {1, 2, 3})
        ASSERT_TRUE(history.commit(f.edit(value), 0, ids));

    ASSERT_TRUE(history.undo(ids));
    EXPECT_EQ(f.tempo->value, 2);
    EXPECT_FALSE(history.canUndo());
    ASSERT_TRUE(history.undo(ids)); // refused quietly
    EXPECT_EQ(f.tempo->value, 2);
    // The two trimmed commits are packed: nothing of them is a record any more.
    EXPECT_EQ(history.floorIndex(), 4u);
    EXPECT_EQ(history.packedCount(), 4u);
    EXPECT_EQ(history.entryCount(), 7u);
}

// Under an undo limit the trimmed commits are packed into their change entries, and every "what
// changed since" answer stays what the whole history would give, in the same order.
TEST(CommitHistory, PackedCommitsStillAnswerWhatChanged) {
    HistoryFixture f;
    CZRCommitHistory history(2);
    std::vector<std::uint32_t> ids;
    for (std::int32_t value = 1; value <= 40; ++value)
        ASSERT_TRUE(history.commit(f.edit(value), 0, ids));
    ASSERT_GT(history.packedCount(), 40u);
    EXPECT_LT(history.entryCount() - history.packedCount(), 12u);

    // The commit that set v closed with the marker numbered v + 1.
    std::vector<std::int32_t> positions;
    history.editedTempoPositions(38, positions);
    EXPECT_EQ(positions, (std::vector{40, 39, 38}));
    history.editedTempoPositions(1, positions);
    ASSERT_EQ(positions.size(), 40u);
    EXPECT_EQ(positions.front(), 40);
    EXPECT_EQ(positions.back(), 1);
    history.editedTempoPositions(41, positions);
    EXPECT_TRUE(positions.empty());

    const std::uint32_t tempoID = f.tempo->getObjID();
    EXPECT_TRUE(history.isEdited(f.doc.table, tempoID, 5, false));
    EXPECT_FALSE(history.isEdited(f.doc.table, tempoID, 41, false));
    EXPECT_TRUE(history.isEdited(f.doc.table, tempoID, 0, false)); // no such commit point
    ASSERT_TRUE(history.undo(ids));
    EXPECT_TRUE(history.isEdited(f.doc.table, tempoID, 41, false)); // ahead of the present
    EXPECT_FALSE(history.isEdited(f.doc.table, tempoID, 40, false));
}

TEST(CommitHistory, TrimForMemoryKeepsOneUndoableCommit) {
    HistoryFixture f;
    CZRCommitHistory history(-1);
    std::vector<std::uint32_t> ids;
    ASSERT_TRUE(history.commit(f.edit(1), 0, ids));
    EXPECT_FALSE(history.trimForMemory());
    EXPECT_NE(history.entryAt(1).copy(), nullptr);

    ASSERT_TRUE(history.commit(f.edit(2), 0, ids));
    ASSERT_TRUE(history.trimForMemory());
    EXPECT_EQ(history.floorIndex(), 2u);
    EXPECT_EQ(history.packedCount(), 0u); // as many trimmed entries as others: not yet packed
    EXPECT_EQ(history.entryAt(1).copy(), nullptr);
    EXPECT_FALSE(history.trimForMemory());

    ASSERT_TRUE(history.undo(ids));
    EXPECT_EQ(f.tempo->value, 1);
    EXPECT_FALSE(history.canUndo());
}

TEST(CommitHistory, BusyWhileEnteredAndNeverBelowZero) {
    CZRCommitHistory history(-1);
    history.leave();
    EXPECT_EQ(history.busyDepth(), 0);

    history.enter();
    history.enter();
    EXPECT_EQ(history.currentCommitPoint(), 0u);
    std::thread stranger([&history] { history.leave(); });
    stranger.join();
    EXPECT_EQ(history.busyDepth(), 2);
    history.leave();
    history.leave();
    history.leave();
    EXPECT_EQ(history.busyDepth(), 0);
    EXPECT_EQ(history.currentCommitPoint(), 1u);
}
