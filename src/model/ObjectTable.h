// The table that owns every object of one document and hands out their IDs.
#pragma once

#include "model/MutableKorObject.h"
#include "model/ObjectStore.h"
#include "platform/CriticalSection.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

/// Owns objects by ID. IDs come from a counter that only grows: a fresh table hands out 0, 1,
/// 2, ... and registering an explicit ID moves the counter past it. Lists, container fields and
/// parent links only point at objects; the table alone deletes them, when they are destroyed or
/// when the table goes. ID allocation, registration, destruction and moves run under the table's
/// lock, so several threads may create objects in one table.
///
/// The objects sit in pages of slots indexed by ID, made as IDs in their range are first
/// used: a song's IDs are handed out densely, so registering, finding and moving an object is
/// one indexed access and takes no memory of its own, where a search tree would allocate a node
/// per object and walk it on every lookup. A table holding a few objects only (an edit record's
/// copy of one note) keeps them in a short list sorted by ID instead, as a page of slots and the
/// index of pages up to its IDs would take kilobytes; it spreads them into pages when the list
/// is full.
///
/// A table that hands out IDs for a document also owns the store its objects are placed in
/// (see CZRObjectStore): the objects of the document and the copies its edit records make all
/// come from it, and its memory goes back as a whole once the table and the last of them are
/// gone.
class CZRObjectTable {
public:
    CZRObjectTable() = default;
    CZRObjectTable(const CZRObjectTable&) = delete;
    CZRObjectTable& operator=(const CZRObjectTable&) = delete;
    /// Deletes every registered object, in ID order, and lets go of the store.
    ~CZRObjectTable();

    /// Hands out the next fresh ID; ZR_NO_OBJ_ID once every ID has been used.
    [[nodiscard]] std::uint32_t allocateID();
    /// The ID the next allocateID() will hand out.
    std::uint32_t nextID() const;

    /// Takes ownership of `obj` under `objID`. Fails, deleting `obj`, when the ID is already taken
    /// or is ZR_NO_OBJ_ID, or when there is no memory for its slot.
    [[nodiscard]] bool registerObject(std::uint32_t objID,
                                      std::unique_ptr<IZRMutableKorObject> obj);
    /// The object registered under `objID` (borrowed), or null.
    IZRMutableKorObject* lookup(std::uint32_t objID) const;
    /// Deletes the object registered under `objID` and its whole subtree, children first. Nothing
    /// happens for an unknown ID. The object must not be linked into a container.
    void destroy(std::uint32_t objID);
    /// Makes room for objects under `ids` without registering any, so that trading them later
    /// cannot fail. Throws std::bad_alloc when memory runs out; the objects held stay as they are.
    void reserveSlots(const std::vector<std::uint32_t>& ids);
    /// Moves what `a` holds under each of `ids` to `b` and what `b` holds there to `a`, keeping
    /// every ID. Both tables must have reserved those slots.
    static void tradeSlots(CZRObjectTable& a, CZRObjectTable& b,
                           const std::vector<std::uint32_t>& ids) noexcept;
    /// Deletes every registered object; the ID counter keeps its value.
    void clear();
    /// Appends the ID of every registered object whose own detached mark is set.
    void collectDetached(std::vector<std::uint32_t>& out) const;

    std::size_t size() const;
    /// The store new objects of this table's document are placed in, made on first use. Throws
    /// std::bad_alloc when it cannot be made.
    CZRObjectStore& store();

private:
    using Slot = std::unique_ptr<IZRMutableKorObject>;
    static constexpr std::uint32_t kPageBits = 10;
    using Page = std::array<Slot, std::size_t{1} << kPageBits>;
    /// The most slots the short list holds before the table spreads into pages.
    static constexpr std::size_t kFewSlots = 64;

    /// The slot of `objID`, or null when its page was never made.
    Slot* findSlot(std::uint32_t objID) const;
    /// The slot of `objID`, making its page; throws std::bad_alloc when it cannot.
    Slot& makeSlot(std::uint32_t objID);
    void destroySubtree(IZRMutableKorObject* obj);
    /// Moves the slots of the short list into pages; throws std::bad_alloc, changing nothing,
    /// when the pages cannot be made.
    void spreadIntoPages();

    mutable kor::platform::CriticalSection lock_;
    std::uint32_t nextID_ = 0;
    std::vector<std::unique_ptr<Page>> pages_; // empty while the short list holds the slots
    // The short list, sorted by ID. Mutable as a page's slots are: finding a slot hands it out
    // for the caller to fill.
    mutable std::vector<std::pair<std::uint32_t, Slot>> few_;
    std::size_t count_ = 0;
    // Owned: let go of, not deleted, as objects may outlive the table. Made once and never
    // replaced, so creating an object reads it without taking the lock.
    std::atomic<CZRObjectStore*> store_{nullptr};
};

/// A creation context: where new objects are registered, and the document table whose counter
/// fresh IDs come from and whose store they are placed in. For an ordinary document both are
/// the same table; an edit record registers its copies in a table of its own.
struct ZRCreateContext {
    CZRObjectTable& registry;
    CZRObjectTable& idSource;
};
