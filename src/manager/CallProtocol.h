// The protocol every manager method follows around its operation.
#pragma once

#include "manager/KorManagerImpl.h"

#include <korman/ErrorCodes.h>

#include <new>
#include <utility>

namespace kor {

/// Runs `operation(impl)` so that no exception leaves the library: running out of memory is
/// reported as ZR_E_NOT_ENOUGH_MEMORY and any other exception as ZR_E_UNKNOWN_ERROR, both
/// answering `nothing`. `impl` must exist.
template <class Result, class Operation>
Result runGuarded(CZRKorManagerImpl& impl, Result nothing, Operation&& operation) noexcept {
    try {
        return operation(impl);
    } catch (const std::bad_alloc&) {
        impl.setLastError(ZR_E_NOT_ENOUGH_MEMORY);
    } catch (...) {
        impl.setLastError(ZR_E_UNKNOWN_ERROR);
    }
    return nothing;
}

/// Runs `operation(impl)` as a manager method: without an implementation object it answers
/// `nothing` at once (sysGetLastError then reports ZR_E_NOT_INITIALIZED); otherwise it clears the
/// last error, answers `nothing` with ZR_E_NOT_INITIALIZED when the manager is not initialized,
/// and runs the operation guarded (runGuarded) with the last error cleared again.
template <class Result, class Operation>
Result runProtocol(CZRKorManagerImpl* impl, Result nothing, Operation&& operation) noexcept {
    if (impl == nullptr) return nothing;
    impl->clearLastError();
    if (!impl->isInitialized()) {
        impl->fail(ZR_E_NOT_INITIALIZED,
                   L"sysInitialize has not succeeded on this manager; call it again with a valid "
                   L"policy.");
        return nothing;
    }
    impl->clearLastError();
    return runGuarded(*impl, nothing, std::forward<Operation>(operation));
}

/// `found`, or null with the reason `report()` gives as the last error: a lookup that finds
/// nothing answers null as it always has, and says why.
template <class T, class Report> T* orReport(T* found, Report&& report) {
    if (found == nullptr) report();
    return found;
}

} // namespace kor
