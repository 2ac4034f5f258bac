// A lock that the thread holding it may take again, with a scoped guard.
#pragma once

#include <mutex>

namespace kor::platform {

/// A recursive mutual-exclusion lock: the owning thread may lock it again and must unlock it as
/// often. Satisfies Lockable, so std::scoped_lock can take several at once without deadlock.
class CriticalSection {
public:
    CriticalSection() = default;
    CriticalSection(const CriticalSection&) = delete;
    CriticalSection& operator=(const CriticalSection&) = delete;

    void lock() { mutex_.lock(); }
    bool try_lock() { return mutex_.try_lock(); }
    void unlock() { mutex_.unlock(); }

private:
    std::recursive_mutex mutex_;
};

/// Holds a CriticalSection for the lifetime of the guard.
using ScopedLock = std::lock_guard<CriticalSection>;

} // namespace kor::platform
