// The memory a document's objects live in: size-classed slots cut from large blocks.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <vector>

/// Where the objects of one document (and the copies its edit records make) are placed. Objects
/// are cut from large blocks by bumping a pointer, so creating one costs no allocation of its own
/// and carries no allocator header or rounding; a freed slot goes on a list of its size and the
/// next object of that size takes it.
///
/// Every block is made of granules aligned to their size, each starting with a pointer back to
/// its store, so an object's slot is given back to the right store from its address alone
/// (objects move between a document's table and its records' tables, and each may go first).
/// The store ends itself, with all its blocks, once its owning table has let go of it and its
/// last object has been given back; until then each object keeps it alive. Its blocks come from
/// `::operator new`, so running out of memory is std::bad_alloc from allocate(), never from
/// release(). Allocation and release lock the store: objects of one document may be created and
/// destroyed from several threads.
///
/// Under AddressSanitizer, the room no object holds (freed slots and the unused end of a block)
/// is poisoned, so a use after free is reported until the slot is taken again and an object given
/// back twice fails an assertion; a leaked object keeps its store and blocks alive, and the leak
/// checker reports them (as blocks of the store, not as the one object).
class CZRObjectStore {
public:
    /// The largest object a store places.
    static constexpr std::size_t kMaxObjectSize = 1024;
    /// Objects are placed on this alignment, enough for every object class.
    static constexpr std::size_t kAlignment = 8;

    /// A store owned by the caller until it calls releaseOwner(). Throws std::bad_alloc.
    static CZRObjectStore* create();

    CZRObjectStore(const CZRObjectStore&) = delete;
    CZRObjectStore& operator=(const CZRObjectStore&) = delete;

    /// Room for an object of `size` bytes (at most kMaxObjectSize). Throws std::bad_alloc when a
    /// new block cannot be had, changing nothing.
    void* allocate(std::size_t size);
    /// Gives back the slot of `size` bytes at `p`, which allocate() of some store handed out;
    /// ends that store when this was its last object and its owner has let go.
    static void release(void* p, std::size_t size) noexcept;
    /// The owner lets go: the store ends now if it holds no object, else with its last one.
    void releaseOwner() noexcept;

    /// Objects placed and not yet given back.
    std::size_t liveObjects() const;

private:
    static constexpr std::size_t kGranuleSize = std::size_t{16} << 10;
    static constexpr std::size_t kGranuleHeader = 16;
    static constexpr std::size_t kMaxGranulesPerBlock = 64;

    struct FreeSlot {
        FreeSlot* next;
    };
    struct Block {
        void* memory; // as ::operator new handed it out
        std::size_t bytes;
    };

    CZRObjectStore() = default;
    ~CZRObjectStore();

    void* allocateLocked(std::size_t size);
    /// Starts the next granule of the current block, or a new block when it is used up.
    void startGranule();
    /// Whether the store has no owner and no object left; the caller then deletes it.
    bool unused() const { return !owned_ && live_ == 0; }

    mutable std::mutex lock_;
    std::array<FreeSlot*, kMaxObjectSize / kAlignment + 1> free_{};
    std::vector<Block> blocks_;
    std::byte* next_ = nullptr; // bump pointer in the current granule
    std::byte* granuleEnd_ = nullptr;
    std::byte* blockEnd_ = nullptr; // end of the current block's granules
    std::size_t granulesPerBlock_ = 2;
    std::size_t live_ = 0;
    bool owned_ = true;
};
