// The record of one change made through the editor, and the base of every record class.
#pragma once

#include "model/ObjectTable.h"

#include <korman/ZRChange.h>

#include <cstdint>
#include <vector>

class CZRKorDocument;

/// What an edit did to one object, as kept by its record for the "what changed" queries.
struct ZRChangeEntry {
    std::uint32_t objID = ZR_NO_OBJ_ID;
    std::uint32_t flags = 0;  ///< ZR_CHANGE_* bits
    std::int32_t posTick = 0; ///< the changed object's position, where the edit supplies one
};

// The flags the edit operations file: a change to anything sung or played also marks the music,
// and a change to a tempo marks the tempo map as well. Other changes (tracks, time signatures)
// carry the plain ZR_CHANGE_MODIFIED, ZR_CHANGE_INSERTED or ZR_CHANGE_DELETED.
inline constexpr std::uint32_t kMusicalChanged = ZR_CHANGE_MODIFIED | ZR_CHANGE_MUSICAL;
inline constexpr std::uint32_t kMusicalInserted = ZR_CHANGE_INSERTED | ZR_CHANGE_MUSICAL;
inline constexpr std::uint32_t kMusicalDeleted = ZR_CHANGE_DELETED | ZR_CHANGE_MUSICAL;
inline constexpr std::uint32_t kTempoChanged = kMusicalChanged | ZR_CHANGE_TEMPO;
inline constexpr std::uint32_t kTempoInserted = kMusicalInserted | ZR_CHANGE_TEMPO;
inline constexpr std::uint32_t kTempoDeleted = kMusicalDeleted | ZR_CHANGE_TEMPO;

/// A record covers one object (an element record) or one node list with everything below it (a
/// list record) and keeps, in a private store of its own, a copy of it holding whichever state is
/// not live: exchanging copy and live object applies the change, exchanging again reverts it.
/// Commit markers, which separate the commits of the history, are records of a third kind.
/// The history owns its records; a record owns its store and every copy in it. A record is used
/// by one thread at a time (the editor's while pending, then under the history's lock), so it
/// has no lock of its own.
class AZREditCommand {
public:
    enum Kind : std::int32_t { kElement = 0, kList = 1, kCommitMarker = 2 };

    AZREditCommand(const AZREditCommand&) = delete;
    AZREditCommand& operator=(const AZREditCommand&) = delete;
    virtual ~AZREditCommand() = default;

    /// Readies the next exchange: makes every table slot, list entry and key it needs, so that
    /// applying it cannot fail. Changes neither the song nor the copy; throws std::bad_alloc when
    /// memory runs out. A record whose live object or copy is missing prepares nothing, and its
    /// apply step then leaves things as they are.
    virtual void prepareExchange() {}
    /// Swaps the copy with the live object (commit and redo apply, undo reverts), moving only
    /// pointers and values; runs after prepareExchange().
    virtual void applyExchange() noexcept = 0;
    /// Follow-up on the live document after an exchange (marking the parts a change affects).
    virtual void afterExchange() noexcept = 0;
    /// Makes the private copy of the covered object; false when a copy exists already or the
    /// live object is missing or of another class.
    [[nodiscard]] virtual bool capture() = 0;
    /// Readies the copy for its first exchange (list records purge and re-sort it).
    virtual void prepareCommit() = 0;
    /// Readies a list record to hold only the elements its edits move, with the place each takes,
    /// instead of a copy of the whole list: moving one element then costs as much as updating it.
    /// Records that cannot hold moves alone capture their whole copy, as capture() does.
    [[nodiscard]] virtual bool captureForMoves() { return capture(); }
    /// Whether the record holds moved elements alone (after captureForMoves, until widened).
    virtual bool holdsMovesOnly() const { return false; }
    /// The working copy of the element `elementID` of a record holding moves alone, made on first
    /// use; null for a record holding a whole copy or an element outside its list. Throws
    /// std::bad_alloc when memory runs out, leaving the record as it was.
    virtual IZRMutableKorObject* copyForMove(std::uint32_t /*elementID*/) { return nullptr; }
    /// Turns a record holding moves alone into one holding the whole copy, with the moves made in
    /// it, so that any edit of the list can go through it; nothing for other records. Throws
    /// std::bad_alloc, leaving the record as it was, when memory runs out.
    virtual void widen() {}

    std::uint32_t objectID() const { return objectID_; }
    std::int32_t kind() const { return kind_; }
    bool isCommitMarker() const { return kind_ == kCommitMarker; }
    CZRKorDocument* document() const { return document_; }
    const IZRMutableKorObject* copy() const { return copy_; }
    const std::vector<ZRChangeEntry>& changes() const { return changes_; }

    /// Deletes every copy in the private store and forgets the copy, giving its memory back; the
    /// record can no longer be exchanged (the history has moved its undo floor past it).
    void releaseCopies();

    /// Bytes the copy and everything below it occupy; 0 without a copy.
    std::uint64_t copySize() const;
    /// The object `objID` of the private store (borrowed): the copy or an object below it, or an
    /// object an edit created there. Null when the store does not hold it.
    IZRMutableKorObject* workingObject(std::uint32_t objID) const { return store_.lookup(objID); }
    /// Where an edit creates new objects: in the private store, under fresh IDs of the document,
    /// so that they keep their IDs when an exchange moves them into the document.
    ZRCreateContext storeContext();
    /// Appends what an edit did, for the "what changed since" queries.
    void addChange(const ZRChangeEntry& change) { changes_.push_back(change); }

protected:
    AZREditCommand(std::uint32_t objectID, std::int32_t kind, CZRKorDocument* document)
        : objectID_(objectID)
        , kind_(kind)
        , document_(document) {}

    /// Makes the copy of the live object `live` in the store under its ID with `copyFlags`; false
    /// when a copy exists already or creating or copying fails.
    [[nodiscard]] bool captureCopy(const IZRMutableKorObject& live, std::uint32_t copyFlags);

    std::uint32_t objectID_;
    const std::int32_t kind_;
    CZRKorDocument* document_;            // not owned; null for a commit marker
    IZRMutableKorObject* copy_ = nullptr; // lives in store_
    CZRObjectTable store_;
    std::vector<ZRChangeEntry> changes_;
};
