#include "edit/EditCommand.h"

#include "model/KorDocument.h"
#include "model/ObjectTree.h"

void AZREditCommand::releaseCopies() {
    copy_ = nullptr;
    store_.clear();
}

std::uint64_t AZREditCommand::copySize() const {
    return kor::subtreeSize(copy_);
}

ZRCreateContext AZREditCommand::storeContext() {
    return {store_, document_->objects()};
}

bool AZREditCommand::captureCopy(const IZRMutableKorObject& live, std::uint32_t copyFlags) {
    if (copy_ != nullptr) return false;
    const ZRCreateContext context = storeContext();
    IZRMutableKorObject* copy = live.cloneInto(context, copyFlags);
    if (copy == nullptr) return false;
    // The copy hangs nowhere yet is not deleted: the edits must see it and its subtree as live.
    copy->setFlags(copy->getFlags() & ~ZR_FLAG_DETACHED);
    copy_ = copy;
    return true;
}
