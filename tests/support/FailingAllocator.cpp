#include "support/FailingAllocator.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

// Allocations left until the one that fails; 0 when none is to fail. Only the test that arms it
// allocates meanwhile, so a countdown shared by all threads is enough.
std::atomic<std::uint64_t> countdown{0};
std::atomic<bool> failed{false};

void* allocate(std::size_t size) noexcept {
    if (countdown.load(std::memory_order_relaxed) != 0 && countdown.fetch_sub(1) == 1) {
        failed.store(true);
        return nullptr;
    }
    return std::malloc(size == 0 ? 1 : size);
}

void* allocateOrThrow(std::size_t size) {
    void* p = allocate(size);
    if (p == nullptr) throw std::bad_alloc();
    return p;
}

} // namespace

namespace kor::test {

void failAllocation(std::uint64_t n) {
    countdown.store(n);
    if (n != 0) failed.store(false);
}

bool allocationFailed() {
    return failed.load();
}

} // namespace kor::test

// The replaceable forms the library and the tests use; the aligned ones stay the runtime's,
// paired with its own deletes.
void* operator new(std::size_t size) {
    return allocateOrThrow(size);
}
void* operator new[](std::size_t size) {
    return allocateOrThrow(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    return allocate(size);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    return allocate(size);
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete[](void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept {
    std::free(p);
}
void operator delete(void* p, const std::nothrow_t&) noexcept {
    std::free(p);
}
void operator delete[](void* p, const std::nothrow_t&) noexcept {
    std::free(p);
}
