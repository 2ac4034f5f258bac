#include "edit/CommitHistory.h"

#include "edit/EditCommit.h"

#include "model/ObjectTable.h"

#include <algorithm>
#include <cassert>
#include <mutex>
#include <new>
#include <unordered_map>
#include <utility>

using kor::platform::ScopedLock;

namespace {

// Marks the history busy while records are exchanged, however the exchange ends.
class BusyScope {
public:
    explicit BusyScope(std::atomic<std::int32_t>& busy)
        : busy_(busy) {
        ++busy_;
    }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;
    ~BusyScope() { --busy_; }

private:
    std::atomic<std::int32_t>& busy_;
};

// Makes room for `size` elements, growing the capacity geometrically so that a log filled a few
// entries at a time is copied a bounded number of times.
template <class T> void reserveGrowing(std::vector<T>& log, std::size_t size) {
    if (size > log.capacity()) log.reserve(std::max(size, 2 * log.capacity()));
}

} // namespace

CZRCommitHistory::CZRCommitHistory(std::int32_t limit, HeadroomCheck headroom)
    : limit_(limit)
    , headroom_(std::move(headroom)) {
    entries_.push_back(std::make_unique<CZREditCommit>(++commitCounter_));
    savedCommitPoint_ = commitCounter_;
}

CZRCommitHistory::~CZRCommitHistory() {
    ScopedLock guard(lock_);
    entries_.clear();
}

// The first entry is always a marker and holds nothing: it stays and takes the next number, so a
// reset allocates nothing and cannot fail when the manager drops its song.
void CZRCommitHistory::reset() noexcept {
    ScopedLock guard(lock_);
    entries_.erase(entries_.begin() + 1, entries_.end());
    auto& first = static_cast<CZREditCommit&>(*entries_.front());
    first.renumber(++commitCounter_);
    first.setLabel(nullptr);
    savedCommitPoint_ = commitCounter_;
    current_ = floor_ = 0;
    markersAfterFloor_ = 0;
    std::vector<PackedEntry>().swap(trimmed_);
    std::vector<ZRChangeEntry>().swap(packedChanges_);
    ++exchanges_;
}

void CZRCommitHistory::enter() {
    lock_.lock();
    owner_.store(std::this_thread::get_id());
    ++busy_;
}

void CZRCommitHistory::leave() {
    // Only the thread that holds the history may release it; an unmatched leave is ignored so the
    // busy depth never goes below 0 and the lock is never released by a stranger.
    if (owner_.load() != std::this_thread::get_id() || busy_.load() == 0) return;
    if (--busy_ == 0) owner_.store(std::thread::id());
    lock_.unlock();
}

std::uint32_t CZRCommitHistory::currentCommitPoint() const {
    if (isBusy()) return 0;
    ScopedLock guard(lock_);
    return markerAt(current_).commitPoint();
}

bool CZRCommitHistory::commit(std::vector<std::unique_ptr<AZREditCommand>>& pending,
                              std::uint64_t largestCopy, std::vector<std::uint32_t>& ids) {
    std::vector<AZREditCommand*> records;
    for (const auto& record : pending)
        if (!record->isCommitMarker()) records.push_back(record.get());
    if (records.empty()) return true;

    ScopedLock guard(lock_);
    // Prepare: every allocation of filing and applying the commit, before the first change.
    if (!headroom_(2 * largestCopy)) return false;
    entries_.reserve(current_ + 1 + records.size() + 1);
    auto marker = std::make_unique<CZREditCommit>(commitCounter_ + 1);
    ids.clear();
    ids.reserve(records.size());

    // Apply: the redo branch goes, the records and their marker are filed and exchanged.
    const BusyScope busy(busy_);
    const auto redoable = entries_.begin() + static_cast<std::ptrdiff_t>(current_) + 1;
    markersAfterFloor_ -= static_cast<std::size_t>(std::count_if(
        redoable, entries_.end(), [](const auto& entry) { return entry->isCommitMarker(); }));
    entries_.erase(redoable, entries_.end());
    for (auto& record : pending)
        if (!record->isCommitMarker()) entries_.push_back(std::move(record));
    pending.clear();
    entries_.push_back(std::move(marker));
    ++markersAfterFloor_;
    ++commitCounter_;
    applyExchanges(current_, ids, true);
    trimByLimit();
    return true;
}

bool CZRCommitHistory::canUndo() const {
    ScopedLock guard(lock_);
    return entries_.size() >= 2 && floor_ < current_;
}

bool CZRCommitHistory::canRedo() const {
    ScopedLock guard(lock_);
    return entries_.size() >= 2 && current_ < entries_.size() - 1;
}

bool CZRCommitHistory::undo(std::vector<std::uint32_t>& ids) {
    return step(ids, false);
}

bool CZRCommitHistory::redo(std::vector<std::uint32_t>& ids) {
    return step(ids, true);
}

bool CZRCommitHistory::step(std::vector<std::uint32_t>& ids, bool forward) {
    ScopedLock guard(lock_);
    if (!(forward ? canRedo() : canUndo())) return true;
    if (!hasHeadroomToExchange(current_, forward)) return false;
    prepareExchanges(current_, ids, forward);
    const BusyScope busy(busy_);
    applyExchanges(current_, ids, forward);
    return true;
}

// Calls `visit` with every record between the marker at `marker` and the neighbouring marker
// (the next one when `forward`, else the previous one), in walking order; returns the index of
// that neighbour.
template <class Visit>
std::size_t CZRCommitHistory::walkCommit(std::size_t marker, bool forward, Visit visit) const {
    std::size_t i = forward ? marker + 1 : marker - 1;
    for (; !entries_[i]->isCommitMarker(); forward ? ++i : --i)
        visit(*entries_[i]);
    return i;
}

// An exchange moves copies around without allocating much, yet a list record's copy may be
// large: the rule asks for twice the largest copy of the commit to be walked.
bool CZRCommitHistory::hasHeadroomToExchange(std::size_t marker, bool forward) const {
    std::uint64_t largest = 0;
    walkCommit(marker, forward, [&](const AZREditCommand& record) {
        largest = std::max(largest, record.copySize());
    });
    return headroom_(2 * largest);
}

// Makes room for the IDs of the commit next to `marker` in `ids` (emptied) and lets every record
// of it that holds a copy prepare its exchange, so that applying them cannot fail halfway.
void CZRCommitHistory::prepareExchanges(std::size_t marker, std::vector<std::uint32_t>& ids,
                                        bool forward) {
    std::size_t count = 0;
    walkCommit(marker, forward, [&](AZREditCommand& record) {
        ++count;
        if (record.copy() != nullptr) record.prepareExchange();
    });
    ids.clear();
    ids.reserve(count);
}

// Exchanges every record of the commit next to `marker` that holds a copy, collecting the IDs of
// all of them, and makes the neighbouring marker the present state.
void CZRCommitHistory::applyExchanges(std::size_t marker, std::vector<std::uint32_t>& ids,
                                      bool forward) noexcept {
    ++exchanges_;
    current_ = walkCommit(marker, forward, [&](AZREditCommand& record) {
        if (record.copy() != nullptr) {
            record.applyExchange();
            record.afterExchange();
        }
        ids.push_back(record.objectID());
    });
}

// Keeps at most `limit` commits undoable: the oldest ones give up their copies and the floor moves
// to the marker behind them.
void CZRCommitHistory::trimByLimit() {
    if (limit_ < 0) return;
    while (markersAfterFloor_ > static_cast<std::size_t>(limit_))
        trimOldestCommit();
    packTrimmed();
}

void CZRCommitHistory::trimOldestCommit() {
    std::size_t i = floor_ + 1;
    for (; !entries_[i]->isCommitMarker(); ++i)
        entries_[i]->releaseCopies();
    floor_ = i;
    --markersAfterFloor_;
}

bool CZRCommitHistory::trimForMemory() {
    ScopedLock guard(lock_);
    std::size_t undoable = 0;
    for (std::size_t i = floor_ + 1; i <= current_; ++i)
        if (entries_[i]->isCommitMarker()) ++undoable;
    if (undoable < 2) return false;
    trimOldestCommit();
    packTrimmed();
    return true;
}

// Packing moves the entries after the trimmed ones to the front, so it waits until the trimmed
// entries are at least as many as the rest: each entry is then moved a bounded number of times.
// Without memory for the log the trimmed records stay as they are, their copies already given
// back, and a later trim packs them.
void CZRCommitHistory::packTrimmed() noexcept {
    if (floor_ == 0 || floor_ < entries_.size() - floor_) return;
    std::size_t changes = 0;
    for (std::size_t i = 0; i < floor_; ++i)
        changes += entries_[i]->changes().size();
    try {
        reserveGrowing(trimmed_, trimmed_.size() + floor_);
        reserveGrowing(packedChanges_, packedChanges_.size() + changes);
    } catch (const std::bad_alloc&) {
        return;
    }
    for (std::size_t i = 0; i < floor_; ++i) {
        const AZREditCommand& entry = *entries_[i];
        packedChanges_.insert(packedChanges_.end(), entry.changes().begin(), entry.changes().end());
        trimmed_.push_back({entry.isCommitMarker() ? markerAt(i).commitPoint() : 0,
                            static_cast<std::uint32_t>(packedChanges_.size())});
    }
    entries_.erase(entries_.begin(), entries_.begin() + static_cast<std::ptrdiff_t>(floor_));
    current_ -= floor_;
    floor_ = 0;
}

// Commit points only grow along the history, and a packed record carries none (0).
template <class Visit>
bool CZRCommitHistory::forEachChangeSince(std::uint32_t commitPoint, Visit visit) const {
    if (commitPoint == 0) return false;
    const auto visitRecord = [&](const AZREditCommand& entry) {
        for (const ZRChangeEntry& change : entry.changes())
            visit(change);
    };
    const auto packed =
        std::find_if(trimmed_.begin(), trimmed_.end(),
                     [&](const PackedEntry& entry) { return entry.commitPoint == commitPoint; });
    if (packed == trimmed_.end()) {
        std::size_t marker = 0;
        while (marker < entries_.size() && !(entries_[marker]->isCommitMarker() &&
                                             markerAt(marker).commitPoint() == commitPoint))
            ++marker;
        if (marker > current_) return false;
        for (std::size_t i = current_; i > marker; --i)
            visitRecord(*entries_[i]);
        return true;
    }
    for (std::size_t i = current_ + 1; i-- > 0;)
        visitRecord(*entries_[i]);
    for (auto entry = trimmed_.end(); --entry != packed;) {
        const std::uint32_t begin = entry == trimmed_.begin() ? 0 : (entry - 1)->changesEnd;
        for (std::uint32_t i = begin; i < entry->changesEnd; ++i)
            visit(packedChanges_[i]);
    }
    return true;
}

bool CZRCommitHistory::isEdited(const CZRObjectTable& live, std::uint32_t objectID,
                                std::uint32_t commitPoint, bool musicalOnly) const {
    if (live.lookup(objectID) == nullptr) return false;
    ScopedLock guard(lock_);
    bool edited = false;
    std::vector<std::uint32_t> path;
    const bool known = forEachChangeSince(commitPoint, [&](const ZRChangeEntry& change) {
        if (edited || (musicalOnly && (change.flags & ZR_CHANGE_MUSICAL) == 0)) return;
        const IZRMutableKorObject* changed = live.lookup(change.objID);
        if (changed == nullptr) return;
        changed->getObjIDPath(path);
        edited = std::find(path.begin(), path.end(), objectID) != path.end();
    });
    return !known || edited;
}

void CZRCommitHistory::editedTempoPositions(std::uint32_t commitPoint,
                                            std::vector<std::int32_t>& positions) const {
    positions.clear();
    ScopedLock guard(lock_);
    (void)forEachChangeSince(commitPoint, [&](const ZRChangeEntry& change) {
        if ((change.flags & ZR_CHANGE_TEMPO) != 0) positions.push_back(change.posTick);
    });
}

void CZRCommitHistory::labelPresentCommit(std::unique_ptr<const wchar_t[]> label) noexcept {
    ScopedLock guard(lock_);
    static_cast<CZREditCommit&>(*entries_[current_]).setLabel(std::move(label));
}

const wchar_t* CZRCommitHistory::undoLabel() const {
    ScopedLock guard(lock_);
    return canUndo() ? markerAt(current_).label() : L"";
}

const wchar_t* CZRCommitHistory::redoLabel() const {
    ScopedLock guard(lock_);
    if (!canRedo()) return L"";
    return markerAt(walkCommit(current_, true, [](const AZREditCommand&) {})).label();
}

const wchar_t* CZRCommitHistory::describeStep(bool undone, std::vector<ZRChange>& changes) const {
    changes.clear();
    ScopedLock guard(lock_);
    // An undo left the present state before the commit it reverted; a commit or redo, after.
    if (undone ? !canRedo() : !canUndo()) return L"";
    std::vector<std::uint32_t> order;
    std::unordered_map<std::uint32_t, std::uint32_t> flagsOf;
    const auto collect = [&](const AZREditCommand& record) {
        for (const ZRChangeEntry& change : record.changes()) {
            const auto [slot, added] = flagsOf.try_emplace(change.objID, 0u);
            if (added) order.push_back(change.objID);
            slot->second |= change.flags;
        }
    };
    std::size_t marker = current_;
    if (undone) {
        marker = walkCommit(current_, true, collect);
    } else {
        std::vector<const AZREditCommand*> records;
        walkCommit(current_, false,
                   [&](const AZREditCommand& record) { records.push_back(&record); });
        for (auto record = records.rbegin(); record != records.rend(); ++record)
            collect(**record);
    }
    changes.reserve(order.size());
    for (const std::uint32_t objID : order) {
        const std::uint32_t flags = flagsOf[objID];
        const bool inserted = (flags & ZR_CHANGE_INSERTED) != 0;
        const bool deleted = (flags & ZR_CHANGE_DELETED) != 0;
        ZRChangeKind kind = ZRChangeKind::Updated;
        if (inserted != deleted)
            kind = inserted != undone ? ZRChangeKind::Inserted : ZRChangeKind::Deleted;
        changes.push_back({objID, kind, flags});
    }
    return markerAt(marker).label();
}

void CZRCommitHistory::markSaved() {
    ScopedLock guard(lock_);
    savedCommitPoint_ = markerAt(current_).commitPoint();
}

bool CZRCommitHistory::isAtSavedState() const {
    ScopedLock guard(lock_);
    return markerAt(current_).commitPoint() == savedCommitPoint_;
}

const CZREditCommit& CZRCommitHistory::markerAt(std::size_t index) const {
    assert(entries_[index]->isCommitMarker() && "current and floor always index markers");
    return static_cast<const CZREditCommit&>(*entries_[index]);
}
