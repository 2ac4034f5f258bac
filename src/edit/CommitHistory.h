// The commit history of a manager: records and commit markers in commit order.
#pragma once

#include "edit/EditCommand.h"
#include "platform/CriticalSection.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <thread>
#include <vector>

class CZREditCommit;

/// Holds the records of every commit, each commit closed by a numbered marker:
/// marker, records of commit 1, marker, records of commit 2, marker, ...
/// `current` indexes the marker of the document's present state; everything after it can be
/// redone, and the commits between `floor` and `current` can be undone. Commit points number the
/// markers from 1 and keep counting across resets for the life of the history.
///
/// The lock serialises exchanging records (commit, undo, redo) with the manager replacing the
/// current document; enter()/leave() hold it around such a replacement and mark the history busy.
class CZRCommitHistory {
public:
    /// An empty history keeping at most `limit` undoable commits (-1: no limit), with its first
    /// marker.
    explicit CZRCommitHistory(std::int32_t limit);
    CZRCommitHistory(const CZRCommitHistory&) = delete;
    CZRCommitHistory& operator=(const CZRCommitHistory&) = delete;
    ~CZRCommitHistory();

    /// Forgets every record and starts again from a new marker with the next commit point.
    void reset();

    /// Takes the lock and raises the busy depth.
    void enter();
    /// Lowers the busy depth and releases the lock; does nothing for a thread that has not entered.
    void leave();
    bool isBusy() const { return busy_.load() != 0; }
    std::int32_t busyDepth() const { return busy_.load(); }

    /// The commit point of the present state; 0 while the history is busy.
    std::uint32_t currentCommitPoint() const;

    /// Files `pending` as one new commit and applies it: drops commit markers from it, discards
    /// the redoable commits, appends the records and a new marker, then exchanges the records in
    /// filing order and keeps at most `limit` commits undoable. `ids` receives the ID of every
    /// record applied. Nothing happens (true) when no record is left. The caller has let each
    /// record prepare for the commit.
    bool commit(std::vector<std::unique_ptr<AZREditCommand>> pending, std::vector<std::uint32_t>& ids);
    /// Reverts the commit before the present state, exchanging its records in reverse filing
    /// order; `ids` receives their IDs. True with nothing done when there is nothing to undo.
    bool undo(std::vector<std::uint32_t>& ids);
    /// Applies again the commit after the present state, in filing order; `ids` receives the IDs.
    /// True with nothing done when there is nothing to redo.
    bool redo(std::vector<std::uint32_t>& ids);
    bool canUndo() const;
    bool canRedo() const;

    /// Gives back the memory of the oldest undoable commit: its records drop their copies and the
    /// undo floor moves past it. Keeps at least one undoable commit; true when it trimmed one.
    bool trimForMemory();

    std::int32_t limit() const { return limit_; }
    std::size_t entryCount() const { return entries_.size(); }
    std::size_t currentIndex() const { return current_; }
    std::size_t floorIndex() const { return floor_; }
    const AZREditCommand& entryAt(std::size_t index) const { return *entries_[index]; }

private:
    void trimByLimit();
    void exchangeRecords(std::size_t marker, std::vector<std::uint32_t>& ids, bool forward);
    const CZREditCommit& markerAt(std::size_t index) const;

    std::size_t current_ = 0;
    std::size_t floor_ = 0;
    std::int32_t limit_;
    std::vector<std::unique_ptr<AZREditCommand>> entries_;
    std::uint32_t commitCounter_ = 0;
    std::atomic<std::int32_t> busy_ = 0;
    std::atomic<std::thread::id> owner_;
    mutable kor::platform::CriticalSection lock_;
};
