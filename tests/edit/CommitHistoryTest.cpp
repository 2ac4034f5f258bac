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

    // One commit that sets the tempo value, pending.
    std::vector<std::unique_ptr<AZREditCommand>>& edit(std::int32_t value) {
        auto record = std::make_unique<TestRecord>(doc.table, tempo->getObjID());
        EXPECT_TRUE(record->capture());
        record->workingCopy()->value = value;
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

    ASSERT_TRUE(history.commit(f.edit(6000), ids));
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
    ASSERT_TRUE(history.commit(f.edit(9000), ids));
    EXPECT_EQ(f.tempo->value, 9000);
    EXPECT_EQ(history.currentCommitPoint(), 3u);
    EXPECT_EQ(history.entryCount(), 3u);
    EXPECT_FALSE(history.canRedo());

    // Nothing to redo, and a commit of markers alone, change nothing.
    ASSERT_TRUE(history.redo(ids));
    std::vector<std::unique_ptr<AZREditCommand>> markersOnly;
    markersOnly.push_back(std::make_unique<CZREditCommit>(77));
    ASSERT_TRUE(history.commit(markersOnly, ids));
    EXPECT_EQ(history.entryCount(), 3u);
}

TEST(CommitHistory, LimitKeepsOnlyTheNewestCommitsUndoable) {
    HistoryFixture f;
    CZRCommitHistory history(1);
    std::vector<std::uint32_t> ids;
    for (std::int32_t value : {1, 2, 3})
        ASSERT_TRUE(history.commit(f.edit(value), ids));

    ASSERT_TRUE(history.undo(ids));
    EXPECT_EQ(f.tempo->value, 2);
    EXPECT_FALSE(history.canUndo());
    ASSERT_TRUE(history.undo(ids)); // refused quietly
    EXPECT_EQ(f.tempo->value, 2);
    EXPECT_EQ(history.entryAt(1).copy(), nullptr); // trimmed records gave up their copies
}

TEST(CommitHistory, TrimForMemoryKeepsOneUndoableCommit) {
    HistoryFixture f;
    CZRCommitHistory history(-1);
    std::vector<std::uint32_t> ids;
    ASSERT_TRUE(history.commit(f.edit(1), ids));
    EXPECT_FALSE(history.trimForMemory());
    EXPECT_NE(history.entryAt(1).copy(), nullptr);

    ASSERT_TRUE(history.commit(f.edit(2), ids));
    ASSERT_TRUE(history.trimForMemory());
    EXPECT_EQ(history.floorIndex(), 2u);
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
