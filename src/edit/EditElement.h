// The record of one object's own values, written once for every element record class.
#pragma once

#include "edit/EditCommand.h"
#include "model/KorDocument.h"
#include "model/ObjectBase.h"

/// An element record (kind 0) over one object of class `Covered`: its copy holds the object's
/// own value fields only, and an exchange swaps those between copy and live object, leaving
/// children, IDs and links in place. `FollowUp::run(document, live)` marks what the change
/// affects. `Derived` is the record class, so that every record class is a type of its own.
template <class Derived, class Covered, class FollowUp>
class TZREditElement : public AZREditCommand {
public:
    static constexpr std::int32_t kRecordKind = kElement;
    using CoveredClass = Covered;

    TZREditElement(std::uint32_t objectID, CZRKorDocument* document)
        : AZREditCommand(objectID, kElement, document) {}

    /// True when `obj` is an object this record class covers.
    static bool covers(const IZRKorObject* obj) { return Covered::classof(obj); }

    bool capture() override {
        const IZRMutableKorObject* live = document_->objects().lookup(objectID_);
        return covers(live) && captureCopy(*live, ZR_COPY_KEEP_IDS);
    }

    // Swapping value fields moves strings and arrays and allocates nothing: nothing to prepare.
    void applyExchange() noexcept override {
        auto* live = kor::objCast<Covered>(document_->objects().lookup(objectID_));
        auto* copy = kor::objCast<Covered>(copy_);
        if (live != nullptr && copy != nullptr) (void)live->swapContents(copy);
    }

    void afterExchange() noexcept override {
        if (IZRMutableKorObject* live = document_->objects().lookup(objectID_))
            FollowUp::run(*document_, *live);
    }

    void prepareCommit() override {}
};
