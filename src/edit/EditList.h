// The record of a whole subtree (a node list, a note, the master track), written once for every
// list record class.
#pragma once

#include "edit/EditCommand.h"
#include "edit/ListRecordOps.h"
#include "model/KorDocument.h"
#include "model/NodeList.h"
#include "model/ObjectTree.h"

#include <mutex>

namespace kor {

/// The covered object of a list record: a node list of `ListType`.
template <std::int32_t ListType> struct ListOf {
    using Class = CZRNodeList;
    static bool covers(const IZRKorObject* obj) {
        const auto* list = objCast<CZRNodeList>(obj);
        return list != nullptr && list->getListType() == ListType;
    }
};

/// The covered object of a list record: an object of class `T` with everything below it.
template <class T> struct SubtreeOf {
    using Class = T;
    static bool covers(const IZRKorObject* obj) { return T::classof(obj); }
};

} // namespace kor

/// A list record (kind 1) over an object that `Covers` accepts, held by a container of class
/// `Parent`, with everything below it. The copy is a deep copy in which every object keeps its
/// ID; an exchange moves the live subtree into the private store and the copy's subtree into
/// the document, links the copy into the container in the old object's place, and keeps the
/// old object as the new copy. `FollowUp::run(document, live)` marks what the change affects.
/// `Derived` is the record class, so that every record class is a type of its own.
template <class Derived, class Covers, class Parent, class FollowUp>
class TZREditList : public AZREditCommand {
public:
    static constexpr std::int32_t kRecordKind = kList;
    using CoveredClass = typename Covers::Class;

    TZREditList(std::uint32_t objectID, CZRKorDocument* document)
        : AZREditCommand(objectID, kList, document) {}

    /// True when `obj` is an object this record class covers, linked under its container class.
    static bool covers(const IZRKorObject* obj) {
        return Covers::covers(obj) && Parent::classof(obj->getParent());
    }

    bool capture() override {
        const IZRMutableKorObject* live = document_->objects().lookup(objectID_);
        return covers(live) && captureCopy(*live, ZR_COPY_DEEP | ZR_COPY_KEEP_IDS);
    }

    void exchange() override {
        CZRObjectTable& document = document_->objects();
        auto* live = kor::objCast<CoveredClass>(document.lookup(objectID_));
        auto* parent = kor::objCast<Parent>(kor::parentOf(live));
        auto* copy = kor::objCast<CoveredClass>(copy_);
        if (live == nullptr || parent == nullptr || copy == nullptr) return;

        // The two subtrees share their IDs, so the live one leaves the document before the copy
        // enters it; moving keeps every object and every ID. Checked first, so that no move can
        // fail halfway and leave the container pointing at objects outside the document.
        if (!kor::canTradeSubtrees(document, *live, store_, *copy)) return;
        CZRObjectTable outgoing;
        if (!outgoing.transfer(document, objectID_)) return;
        if (!document.transfer(store_, objectID_) || !store_.transfer(outgoing, objectID_) ||
            !kor::relinkChild(*parent, *live, *copy))
            return;
        live->setFlags(live->getFlags() & ~ZR_FLAG_DETACHED);
        copy_ = live;
    }

    void afterExchange() override {
        if (IZRMutableKorObject* live = document_->objects().lookup(objectID_))
            FollowUp::run(*document_, *live);
    }

    /// Destroys what the edits removed from the copy, then re-sorts the copied lists.
    void prepareCommit() override {
        std::vector<std::uint32_t> detached;
        store_.collectDetached(detached);
        for (const std::uint32_t objID : detached) {
            kor::platform::ScopedLock guard(lock_);
            // An earlier removal may have taken it along with its container.
            if (store_.lookup(objID) != nullptr) store_.destroy(objID);
        }
        if (auto* copy = kor::objCast<CoveredClass>(copy_)) kor::sortCopiedLists(*copy);
    }
};
