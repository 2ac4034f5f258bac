#include "edit/EditCommand.h"

#include <mutex>

bool AZREditCommand::setKind(std::int32_t kind) {
    if (kind == kCommitMarker || kind_ == kCommitMarker) return false;
    if (kind == kElement && kind_ == kList) return false;
    if (kind != kElement && kind != kList) return false;
    kind_ = kind;
    return true;
}

void AZREditCommand::releaseCopies() {
    kor::platform::ScopedLock guard(lock_);
    copy_ = nullptr;
    store_.clear();
}
