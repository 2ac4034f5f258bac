// The record of a whole subtree (a node list, a note, the master track), written once for every
// list record class.
#pragma once

#include "edit/EditCommand.h"
#include "edit/ListRecordOps.h"
#include "model/KorDocument.h"
#include "model/NodeList.h"
#include "model/ObjectTree.h"

#include <mutex>
#include <utility>
#include <vector>

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

    // The two subtrees share their IDs, so they trade their tables' slots: the live subtree goes
    // into the private store and the copy's into the document, each object keeping its ID. The
    // slots and the list of traded IDs are made here, before anything moves.
    void prepareExchange() override {
        traded_.clear();
        CZRObjectTable& document = document_->objects();
        const IZRMutableKorObject* live = document.lookup(objectID_);
        if (live == nullptr || copy_ == nullptr || kor::parentOf(live) == nullptr) return;
        std::vector<std::uint32_t> ids;
        if (!kor::tradedIDs(document, *live, store_, *copy_, ids)) return;
        document.reserveSlots(ids);
        store_.reserveSlots(ids);
        traded_ = std::move(ids);
    }

    // Relinks first, so that a container refusing the copy leaves everything where it was; the
    // trade that follows cannot fail.
    void applyExchange() noexcept override {
        if (traded_.empty()) return;
        CZRObjectTable& document = document_->objects();
        auto* live = kor::objCast<CoveredClass>(document.lookup(objectID_));
        auto* parent = kor::objCast<Parent>(kor::parentOf(live));
        auto* copy = kor::objCast<CoveredClass>(copy_);
        std::vector<std::uint32_t> traded = std::move(traded_);
        traded_.clear();
        if (live == nullptr || parent == nullptr || copy == nullptr ||
            !kor::relinkChild(*parent, *live, *copy))
            return;
        CZRObjectTable::tradeSlots(document, store_, traded);
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

private:
    std::vector<std::uint32_t> traded_; // the IDs the prepared exchange trades; empty: none
};
