#include "model/ObjectStore.h"

#include <cassert>
#include <new>

// g++ names AddressSanitizer by a macro, clang by a feature test.
#if defined(__SANITIZE_ADDRESS__)
#define KOR_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define KOR_ADDRESS_SANITIZER 1
#endif
#endif

#if defined(KOR_ADDRESS_SANITIZER)
#include <sanitizer/asan_interface.h>
#endif

namespace {

// Room no object holds is poisoned, so that the sanitizer reports a use of a freed object.
void poison([[maybe_unused]] void* p, [[maybe_unused]] std::size_t size) {
#if defined(KOR_ADDRESS_SANITIZER)
    ASAN_POISON_MEMORY_REGION(p, size);
#endif
}

void unpoison([[maybe_unused]] void* p, [[maybe_unused]] std::size_t size) {
#if defined(KOR_ADDRESS_SANITIZER)
    ASAN_UNPOISON_MEMORY_REGION(p, size);
#endif
}

// Whether `p` lies in room no object holds; always false without the sanitizer.
[[maybe_unused]] bool poisoned([[maybe_unused]] const void* p) {
#if defined(KOR_ADDRESS_SANITIZER)
    return __asan_address_is_poisoned(p) != 0;
#else
    return false;
#endif
}

} // namespace

CZRObjectStore* CZRObjectStore::create() {
    return new CZRObjectStore();
}

CZRObjectStore::~CZRObjectStore() {
    assert(live_ == 0 && "a store ends only after its last object");
    for (const Block& block : blocks_) {
        unpoison(block.memory, block.bytes);
        ::operator delete(block.memory);
    }
}

void* CZRObjectStore::allocate(std::size_t size) {
    assert(size <= kMaxObjectSize && "the store places objects up to kMaxObjectSize");
    const std::lock_guard guard(lock_);
    return allocateLocked(size);
}

void* CZRObjectStore::allocateLocked(std::size_t size) {
    const std::size_t sizeClass = (size + kAlignment - 1) / kAlignment;
    const std::size_t rounded = sizeClass * kAlignment;
    if (FreeSlot* slot = free_[sizeClass]) {
        unpoison(slot, rounded);
        free_[sizeClass] = slot->next;
        ++live_;
        return slot;
    }
    if (next_ == nullptr || static_cast<std::size_t>(granuleEnd_ - next_) < rounded) startGranule();
    std::byte* p = next_;
    next_ += rounded;
    unpoison(p, rounded);
    ++live_;
    return p;
}

void CZRObjectStore::startGranule() {
    if (granuleEnd_ == blockEnd_) {
        // A new block, aligned to the granule size inside a plain allocation one granule larger.
        // Later blocks are larger, up to a megabyte, so a small song takes little and a large one
        // few blocks.
        blocks_.reserve(blocks_.size() + 1);
        const std::size_t granules = granulesPerBlock_;
        const std::size_t bytes = (granules + 1) * kGranuleSize;
        void* memory = ::operator new(bytes);
        blocks_.push_back(Block{memory, bytes});
        const auto raw = reinterpret_cast<std::uintptr_t>(memory);
        auto* first = reinterpret_cast<std::byte*>((raw + kGranuleSize - 1) & ~(kGranuleSize - 1));
        poison(memory, bytes);
        granuleEnd_ = first;
        blockEnd_ = first + granules * kGranuleSize;
        if (granulesPerBlock_ < kMaxGranulesPerBlock) granulesPerBlock_ *= 2;
    }
    std::byte* granule = granuleEnd_;
    unpoison(granule, kGranuleHeader);
    *reinterpret_cast<CZRObjectStore**>(granule) = this;
    next_ = granule + kGranuleHeader;
    granuleEnd_ = granule + kGranuleSize;
}

void CZRObjectStore::release(void* p, std::size_t size) noexcept {
    if (p == nullptr) return;
    const auto granule = reinterpret_cast<std::uintptr_t>(p) & ~(kGranuleSize - 1);
    CZRObjectStore* store = *reinterpret_cast<CZRObjectStore* const*>(granule);
    assert(!poisoned(p) && "an object is given back twice");
    const std::size_t sizeClass = (size + kAlignment - 1) / kAlignment;
    bool ended = false;
    {
        const std::lock_guard guard(store->lock_);
        auto* slot = static_cast<FreeSlot*>(p);
        slot->next = store->free_[sizeClass];
        store->free_[sizeClass] = slot;
        poison(p, sizeClass * kAlignment);
        --store->live_;
        ended = store->unused();
    }
    if (ended) delete store;
}

void CZRObjectStore::releaseOwner() noexcept {
    bool ended = false;
    {
        const std::lock_guard guard(lock_);
        owned_ = false;
        ended = unused();
    }
    if (ended) delete this;
}

std::size_t CZRObjectStore::liveObjects() const {
    const std::lock_guard guard(lock_);
    return live_;
}
