// The commit history of a manager: records and commit markers in commit order.
#pragma once

#include "edit/EditCommand.h"
#include "platform/CriticalSection.h"
#include "platform/MemoryStatus.h"

#include <korman/ZRChange.h>

#include <atomic>
#include <cassert>
#include <cstdint>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

class CZREditCommit;
class CZRObjectTable;

/// Holds the records of every commit, each commit closed by a numbered marker:
/// marker, records of commit 1, marker, records of commit 2, marker, ...
/// `current` indexes the marker of the document's present state; everything after it can be
/// redone, and the commits between `floor` and `current` can be undone. Commit points number the
/// markers from 1 and keep counting across resets for the life of the history.
///
/// Commits behind the undo floor keep nothing but what they changed: their records and markers are
/// packed into a log of change entries and commit points, a few bytes per record, and destroyed,
/// so that a history under an undo limit stops growing with the number of commits.
///
/// The lock serialises exchanging records (commit, undo, redo) with the manager replacing the
/// current document; enter()/leave() hold it around such a replacement and mark the history busy.
///
/// Before it exchanges a commit the history asks its headroom rule whether twice the largest copy
/// of that commit could still be allocated; when not, undo and redo refuse (false) and change
/// nothing.
class CZRCommitHistory {
public:
    /// Whether `bytes` more can be allocated with room to spare. The manager's history asks the
    /// system; a test gives one that refuses on its cue.
    using HeadroomCheck = std::function<bool(std::uint64_t bytes)>;

    /// An empty history keeping at most `limit` undoable commits (-1: no limit), with its first
    /// marker, asking `headroom` before each exchange.
    explicit CZRCommitHistory(std::int32_t limit,
                              HeadroomCheck headroom = kor::platform::hasHeadroomFor);
    CZRCommitHistory(const CZRCommitHistory&) = delete;
    CZRCommitHistory& operator=(const CZRCommitHistory&) = delete;
    ~CZRCommitHistory();

    /// Forgets every record and starts again from a marker with the next commit point.
    void reset() noexcept;

    /// Takes the lock and raises the busy depth.
    void enter();
    /// Lowers the busy depth and releases the lock; does nothing for a thread that has not entered.
    void leave();
    bool isBusy() const { return busy_.load() != 0; }
    std::int32_t busyDepth() const { return busy_.load(); }

    /// The commit point of the present state; 0 while the history is busy.
    std::uint32_t currentCommitPoint() const;

    /// Files the records of `pending` as one new commit and applies them: discards the redoable
    /// commits, appends the records (commit markers among them are dropped) and a new marker,
    /// then exchanges the records in filing order and keeps at most `limit` commits undoable.
    /// `ids` receives the ID of every record applied and `pending` is left empty. Nothing happens
    /// (true) when no record is left. False, with the history, the song and `pending` as they
    /// were, when the headroom rule refuses twice `largestCopy`; throws std::bad_alloc, changing
    /// nothing, when filing runs out of memory. The caller has let each record prepare for the
    /// commit and for its exchange, and measured the largest copy among them as it did: a commit
    /// of many records so visits each copy once to ready it and once to exchange it.
    bool commit(std::vector<std::unique_ptr<AZREditCommand>>& pending, std::uint64_t largestCopy,
                std::vector<std::uint32_t>& ids);
    /// Reverts the commit before the present state, exchanging its records in reverse filing
    /// order; `ids` receives their IDs. True with nothing done when there is nothing to undo;
    /// false, with nothing done, when the headroom rule refuses; throws std::bad_alloc, with
    /// nothing done, when preparing the exchanges runs out of memory.
    bool undo(std::vector<std::uint32_t>& ids);
    /// Applies again the commit after the present state, in filing order; `ids` receives the IDs.
    /// True with nothing done when there is nothing to redo; false as undo.
    bool redo(std::vector<std::uint32_t>& ids);
    bool canUndo() const;
    bool canRedo() const;

    /// Gives the commit just filed (the one before the present state) `label` (null: none).
    void labelPresentCommit(std::unique_ptr<const wchar_t[]> label) noexcept;
    /// The label of the commit undo would revert; "" when it has none or there is nothing to
    /// undo. Valid until the history changes.
    const wchar_t* undoLabel() const;
    /// The label of the commit redo would apply; "" as undoLabel.
    const wchar_t* redoLabel() const;
    /// What the last step did: the change entries of the commit just applied (commit or redo;
    /// `undone` false) or just reverted (undo; `undone` true), one per object in filing order with
    /// their flags OR-ed and the kind seen after the step, into `changes` (replaced). Returns that
    /// commit's label ("" when none; valid until the history changes). Throws std::bad_alloc when
    /// memory runs out.
    const wchar_t* describeStep(bool undone, std::vector<ZRChange>& changes) const;

    /// Takes the present state as the saved one (after a save).
    void markSaved();
    /// Whether the present state is the one last saved, or the one a reset started from: false
    /// after a commit, and again true after undoing back to it.
    bool isAtSavedState() const;

    /// Gives back the memory of the oldest undoable commit: its records drop their copies and the
    /// undo floor moves past it. Keeps at least one undoable commit; true when it trimmed one.
    bool trimForMemory();

    /// The headroom rule, without giving memory back.
    bool hasHeadroomFor(std::uint64_t bytes) const { return headroom_(bytes); }

    /// Whether `objectID`, a live object of `live`, or anything below it changed after the commit
    /// point `commitPoint`: true when that commit point is unknown (discarded by a reset) or lies
    /// ahead of the present state, or when a change entry of a commit since then names the object
    /// or one of its descendants (only entries marked ZR_CHANGE_MUSICAL when `musicalOnly`).
    /// False for an object `live` does not hold.
    bool isEdited(const CZRObjectTable& live, std::uint32_t objectID, std::uint32_t commitPoint,
                  bool musicalOnly) const;
    /// Fills `positions` with the tick positions of the tempo changes made since `commitPoint`,
    /// newest record first, duplicates kept; empty when the commit point is unknown or ahead.
    void editedTempoPositions(std::uint32_t commitPoint,
                              std::vector<std::int32_t>& positions) const;

    /// Carries a change made outside the editor to every copy of the object `objID` that a
    /// record of the history holds, so that undo and redo keep it. Under the lock it calls
    /// `change.prepare(record, copy)` for each copy, which may create objects in the record's
    /// store and may fail (false or an exception) but changes no copy; when every copy is
    /// prepared it calls `change.apply()`, which cannot fail. False when a prepare failed: no
    /// copy has changed then.
    template <class Change> bool carryToCopies(std::uint32_t objID, Change& change) {
        kor::platform::ScopedLock guard(lock_);
        for (const std::unique_ptr<AZREditCommand>& record : entries_) {
            IZRMutableKorObject* copy = record->workingObject(objID);
            if (copy != nullptr && !change.prepare(*record, *copy)) return false;
        }
        change.apply();
        return true;
    }

    /// How many times the history has exchanged records with the song (commits, undos, redos)
    /// or dropped its records: it counts every change of the live tree's shape it makes.
    std::uint64_t exchangeCount() const { return exchanges_; }

    std::int32_t limit() const { return limit_; }
    // Positions count every entry ever filed since the last reset, packed ones included.
    std::size_t entryCount() const { return trimmed_.size() + entries_.size(); }
    std::size_t currentIndex() const { return trimmed_.size() + current_; }
    std::size_t floorIndex() const { return trimmed_.size() + floor_; }
    /// How many entries are packed: only the entries from packedCount() on are records.
    std::size_t packedCount() const { return trimmed_.size(); }
    /// The entry at `index` (at least packedCount()).
    const AZREditCommand& entryAt(std::size_t index) const {
        assert(index >= trimmed_.size() && "packed entries are no records any more");
        return *entries_[index - trimmed_.size()];
    }

private:
    /// A packed entry: a trimmed record's change entries, or a marker's number.
    struct PackedEntry {
        std::uint32_t commitPoint; ///< the marker's number; 0 for a record
        std::uint32_t changesEnd;  ///< where the entry's change entries end in packedChanges_
    };

    /// Releases the copies of the oldest undoable commit and moves the floor past it.
    void trimOldestCommit();
    void packTrimmed() noexcept;
    void trimByLimit();
    template <class Visit>
    std::size_t walkCommit(std::size_t marker, bool forward, Visit visit) const;
    bool hasHeadroomToExchange(std::size_t marker, bool forward) const;
    bool step(std::vector<std::uint32_t>& ids, bool forward);
    void prepareExchanges(std::size_t marker, std::vector<std::uint32_t>& ids, bool forward);
    void applyExchanges(std::size_t marker, std::vector<std::uint32_t>& ids, bool forward) noexcept;
    const CZREditCommit& markerAt(std::size_t index) const;
    /// Calls `visit` with every change entry of the records after the marker numbered
    /// `commitPoint` up to the present state, newest record first and each record's entries in
    /// order; false, visiting nothing, when no such marker lies at or before the present state.
    template <class Visit> bool forEachChangeSince(std::uint32_t commitPoint, Visit visit) const;

    // current_ and floor_ index entries_; the entries before floor_ are trimmed, and packed into
    // trimmed_ and packedChanges_ once they are as many as the rest.
    std::size_t current_ = 0;
    std::size_t floor_ = 0;
    std::size_t markersAfterFloor_ = 0;
    std::vector<PackedEntry> trimmed_;
    std::vector<ZRChangeEntry> packedChanges_;
    std::int32_t limit_;
    HeadroomCheck headroom_;
    std::vector<std::unique_ptr<AZREditCommand>> entries_;
    std::uint32_t commitCounter_ = 0;
    std::uint32_t savedCommitPoint_ = 0;
    std::uint64_t exchanges_ = 0;
    std::atomic<std::int32_t> busy_ = 0;
    std::atomic<std::thread::id> owner_;
    mutable kor::platform::CriticalSection lock_;
};
