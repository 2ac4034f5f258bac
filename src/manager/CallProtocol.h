// The protocol every manager method follows around its operation.
#pragma once

#include "manager/KorManagerImpl.h"

#include <korman/ErrorCodes.h>

#include <new>

namespace kor {

/// Runs `operation(impl)` as a manager method: without an implementation object it answers
/// `nothing` at once; otherwise it clears the last error, answers `nothing` (last error 0) when
/// the manager is not initialized, and runs the operation with the last error cleared again.
/// Running out of memory inside the operation is reported as ZR_E_NOT_ENOUGH_MEMORY and any other
/// exception as ZR_E_UNKNOWN_ERROR, both answering `nothing`: no exception leaves the library.
template <class Result, class Operation>
Result runProtocol(CZRKorManagerImpl* impl, Result nothing, Operation&& operation) {
    if (impl == nullptr) return nothing;
    impl->clearLastError();
    if (!impl->isInitialized()) return nothing;
    impl->clearLastError();
    try {
        return operation(*impl);
    } catch (const std::bad_alloc&) {
        impl->setLastError(ZR_E_NOT_ENOUGH_MEMORY);
    } catch (...) {
        impl->setLastError(ZR_E_UNKNOWN_ERROR);
    }
    return nothing;
}

} // namespace kor
