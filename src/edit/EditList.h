// The record of a whole subtree (a node list, a note, the master track), written once for every
// list record class.
#pragma once

#include "edit/EditCommand.h"
#include "edit/ListRecordOps.h"
#include "model/KorDocument.h"
#include "model/NodeList.h"
#include "model/ObjectTree.h"

#include <algorithm>
#include <new>
#include <type_traits>
#include <utility>
#include <vector>

namespace kor {

/// The covered object of a list record: a node list of `ListType`.
template <ZRObjType ListType> struct ListOf {
    using Class = CZRNodeList;
    static bool covers(const IZRKorObject* obj) {
        const auto* list = objCast<CZRNodeList>(obj);
        return list != nullptr && list->getListType() == static_cast<std::int32_t>(ListType);
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
/// ID; an exchange swaps the contents of each live object with its copy (values and children),
/// and moves between the document and the private store only the objects that one side holds
/// alone, so the live objects stay where the host found them. `FollowUp::run(document, live)`
/// marks what the change affects.
/// `Derived` is the record class, so that every record class is a type of its own.
///
/// A record over a node list may instead hold moves alone (captureForMoves): a value copy of each
/// moved element and the places it takes in the list. Its exchange swaps the values of each moved
/// element with its copy and moves the live element to its other place, so commit, undo and redo
/// touch the moved elements only, however long the list. Any other edit through the record first
/// widens it to the whole copy, with the moves made in it.
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

    bool captureForMoves() override {
        if constexpr (!kHoldsList) {
            return capture();
        } else {
            if (copy_ != nullptr || !covers(document_->objects().lookup(objectID_))) return false;
            movesOnly_ = true;
            return true;
        }
    }

    bool holdsMovesOnly() const override { return movesOnly_; }

    IZRMutableKorObject* copyForMove(std::uint32_t elementID) override {
        if (!movesOnly_) return nullptr;
        if (IZRMutableKorObject* copy = store_.lookup(elementID)) return copy;
        const IZRMutableKorObject* live = document_->objects().lookup(elementID);
        if (live == nullptr || live->getParent() != document_->objects().lookup(objectID_))
            return nullptr;
        // Room for the entry first: a copy without its entry would never be exchanged.
        if (moves_.size() == moves_.capacity()) moves_.reserve(2 * moves_.size() + 1);
        // The element's own values only: its children stay in the song and are not exchanged.
        const ZRCreateContext context = storeContext();
        IZRMutableKorObject* copy = live->cloneInto(context, ZR_COPY_KEEP_IDS);
        if (copy == nullptr) throw std::bad_alloc();
        moves_.push_back({elementID, 0, 0, false});
        if (copy_ == nullptr) copy_ = copy;
        return copy;
    }

    void widen() override {
        if constexpr (kHoldsList) {
            if (movesOnly_) widenMoves();
        }
    }

    // The objects both subtrees hold trade their contents in place and only what the edits
    // inserted or deleted changes tables, so every object keeps its address: a pointer the host
    // holds still shows the live object. The plan and every table slot are made here.
    void prepareExchange() override {
        if (movesOnly_) return; // moving elements within the list needs no memory
        exchange_ = {};
        IZRMutableKorObject* live = document_->objects().lookup(objectID_);
        if (live == nullptr || copy_ == nullptr) return;
        (void)kor::planSubtreeExchange(document_->objects(), *live, store_, *copy_, exchange_);
    }

    void applyExchange() noexcept override {
        if constexpr (kHoldsList) {
            if (movesOnly_) {
                exchangeMoves();
                return;
            }
        }
        if (!exchange_.empty()) kor::applySubtreeExchange(document_->objects(), store_, exchange_);
    }

    void afterExchange() noexcept override {
        if (IZRMutableKorObject* live = document_->objects().lookup(objectID_))
            FollowUp::run(*document_, *live);
    }

    /// Destroys what the edits removed from the copy, then re-sorts the copied lists.
    void prepareCommit() override {
        if (movesOnly_) return; // nothing removed, and each moved element is placed by exchange
        std::vector<std::uint32_t> detached;
        store_.collectDetached(detached);
        // An earlier removal may have taken one along with its container.
        for (const std::uint32_t objID : detached)
            if (store_.lookup(objID) != nullptr) store_.destroy(objID);
        if (auto* copy = kor::objCast<CoveredClass>(copy_)) kor::sortCopiedLists(*copy);
    }

private:
    static constexpr bool kHoldsList = std::is_same_v<CoveredClass, CZRNodeList>;

    /// One moved element of a record holding moves alone: where the live element stands now and
    /// where its next exchange puts it (known after the first exchange, which places it by key).
    struct Move {
        std::uint32_t elementID;
        std::uint32_t here;
        std::uint32_t there;
        bool placed;
    };

    // Each moved element swaps values with its copy and moves to its other place. Undo runs the
    // moves in reverse order of redo, so every exchange exactly undoes the one before it.
    void exchangeMoves() noexcept {
        CZRObjectTable& document = document_->objects();
        auto* list = kor::objCast<CZRNodeList>(document.lookup(objectID_));
        if (list == nullptr) return;
        const auto exchange = [&](Move& move) {
            IZRMutableKorObject* live = document.lookup(move.elementID);
            IZRMutableKorObject* copy = store_.lookup(move.elementID);
            if (live == nullptr || copy == nullptr || live->getParent() != list) return;
            const std::uint32_t here = list->indexOf(live, move.here);
            if (!live->swapContents(copy)) return;
            const std::uint32_t there = move.placed ? move.there : list->sortedPlace(here);
            list->moveElement(here, there);
            move = {move.elementID, there, here, true};
        };
        if (movesForward_)
            std::for_each(moves_.begin(), moves_.end(), exchange);
        else
            std::for_each(moves_.rbegin(), moves_.rend(), exchange);
        movesForward_ = !movesForward_;
    }

    // Copies the whole live list into a table of its own, gives the moved elements of that copy
    // their new values and re-sorts it, then trades it into the store for the moved copies; only
    // the trade, which cannot fail, changes the record.
    void widenMoves() {
        CZRObjectTable& document = document_->objects();
        const IZRMutableKorObject* live = document.lookup(objectID_);
        if (live == nullptr) return;
        CZRObjectTable whole;
        const ZRCreateContext context{whole, document};
        IZRMutableKorObject* copy = live->cloneInto(context, ZR_COPY_DEEP | ZR_COPY_KEEP_IDS);
        if (copy == nullptr) throw std::bad_alloc();
        copy->setFlags(copy->getFlags() & ~ZR_FLAG_DETACHED);
        const std::vector<std::uint32_t> ids = kor::subtreeIDs(*copy);
        store_.reserveSlots(ids);
        whole.reserveSlots(ids);
        for (const Move& move : moves_) {
            IZRMutableKorObject* moved = whole.lookup(move.elementID);
            if (moved != nullptr) (void)moved->swapContents(store_.lookup(move.elementID));
        }
        CZRObjectTable::tradeSlots(store_, whole, ids);
        kor::objCast<CZRNodeList>(copy)->sortByKey();
        copy_ = copy;
        moves_.clear();
        movesOnly_ = false;
    }

    kor::SubtreeExchange exchange_; // the prepared exchange; empty: none
    bool movesOnly_ = false;        // holds moved elements alone (moves_), not a whole copy
    bool movesForward_ = true;      // the next exchange of the moves runs them in order
    std::vector<Move> moves_;
};
