#include "model/ObjectTable.h"

#include <algorithm>
#include <cassert>
#include <mutex>
#include <new>

using kor::platform::ScopedLock;

CZRObjectTable::~CZRObjectTable() {
    clear();
    if (CZRObjectStore* made = store_.load(std::memory_order_acquire)) made->releaseOwner();
}

CZRObjectStore& CZRObjectTable::store() {
    if (CZRObjectStore* made = store_.load(std::memory_order_acquire)) return *made;
    ScopedLock guard(lock_);
    if (store_.load(std::memory_order_relaxed) == nullptr)
        store_.store(CZRObjectStore::create(), std::memory_order_release);
    return *store_.load(std::memory_order_relaxed);
}

void CZRObjectTable::clear() {
    ScopedLock guard(lock_);
    for (auto& [objID, slot] : few_)
        slot.reset();
    few_ = decltype(few_)();
    for (const std::unique_ptr<Page>& page : pages_)
        if (page != nullptr)
            for (Slot& slot : *page)
                slot.reset();
    pages_ = decltype(pages_)();
    count_ = 0;
}

namespace {

// The first entry of the short list `few` whose ID is not below `objID`.
template <class Few> auto firstFrom(Few& few, std::uint32_t objID) {
    return std::lower_bound(few.begin(), few.end(), objID,
                            [](const auto& entry, std::uint32_t id) { return entry.first < id; });
}

} // namespace

CZRObjectTable::Slot* CZRObjectTable::findSlot(std::uint32_t objID) const {
    if (pages_.empty()) {
        const auto found = firstFrom(few_, objID);
        return found != few_.end() && found->first == objID ? &found->second : nullptr;
    }
    const std::size_t index = objID >> kPageBits;
    if (index >= pages_.size() || pages_[index] == nullptr) return nullptr;
    return &(*pages_[index])[objID & ((1u << kPageBits) - 1)];
}

CZRObjectTable::Slot& CZRObjectTable::makeSlot(std::uint32_t objID) {
    if (pages_.empty()) {
        const auto found = firstFrom(few_, objID);
        if (found != few_.end() && found->first == objID) return found->second;
        if (few_.size() < kFewSlots) return few_.emplace(found, objID, nullptr)->second;
        spreadIntoPages();
    }
    const std::size_t index = objID >> kPageBits;
    if (index >= pages_.size()) pages_.resize(index + 1);
    if (pages_[index] == nullptr) pages_[index] = std::make_unique<Page>();
    return (*pages_[index])[objID & ((1u << kPageBits) - 1)];
}

void CZRObjectTable::spreadIntoPages() {
    std::vector<std::unique_ptr<Page>> pages;
    for (const auto& [objID, slot] : few_) {
        const std::size_t index = objID >> kPageBits;
        if (index >= pages.size()) pages.resize(index + 1);
        if (pages[index] == nullptr) pages[index] = std::make_unique<Page>();
    }
    for (auto& [objID, slot] : few_)
        (*pages[objID >> kPageBits])[objID & ((1u << kPageBits) - 1)] = std::move(slot);
    pages_ = std::move(pages);
    few_ = decltype(few_)();
}

std::uint32_t CZRObjectTable::allocateID() {
    ScopedLock guard(lock_);
    // The counter stops at the "no object" value instead of wrapping, so IDs are never reused:
    // registering that value fails, and so does every creation after the last ID.
    return nextID_ == ZR_NO_OBJ_ID ? ZR_NO_OBJ_ID : nextID_++;
}

std::uint32_t CZRObjectTable::nextID() const {
    ScopedLock guard(lock_);
    return nextID_;
}

bool CZRObjectTable::registerObject(std::uint32_t objID, std::unique_ptr<IZRMutableKorObject> obj) {
    if (obj == nullptr || objID == ZR_NO_OBJ_ID) return false;
    ScopedLock guard(lock_);
    Slot* slot = nullptr;
    try {
        slot = &makeSlot(objID);
    } catch (const std::bad_alloc&) {
        return false;
    }
    if (*slot != nullptr) return false;
    *slot = std::move(obj);
    ++count_;
    if (nextID_ <= objID) nextID_ = objID + 1;
    return true;
}

IZRMutableKorObject* CZRObjectTable::lookup(std::uint32_t objID) const {
    ScopedLock guard(lock_);
    const Slot* slot = findSlot(objID);
    return slot != nullptr ? slot->get() : nullptr;
}

void CZRObjectTable::destroy(std::uint32_t objID) {
    ScopedLock guard(lock_);
    IZRMutableKorObject* obj = lookup(objID);
    if (obj == nullptr) return;
    assert(obj->getParent() == nullptr && "a destroyed object would dangle in its container");
    destroySubtree(obj);
}

void CZRObjectTable::destroySubtree(IZRMutableKorObject* obj) {
    std::vector<IZRMutableKorObject*> children;
    obj->getChildren(children);
    for (IZRMutableKorObject* child : children)
        destroySubtree(child);
    // Erase only when the ID names this very object, so a child that lives in another table never
    // takes an unrelated object of this one with it.
    Slot* slot = findSlot(obj->getObjID());
    if (slot != nullptr && slot->get() == obj) {
        slot->reset();
        --count_;
    }
}

void CZRObjectTable::reserveSlots(const std::vector<std::uint32_t>& ids) {
    ScopedLock guard(lock_);
    for (const std::uint32_t objID : ids)
        (void)makeSlot(objID);
}

void CZRObjectTable::tradeSlots(CZRObjectTable& a, CZRObjectTable& b,
                                const std::vector<std::uint32_t>& ids) noexcept {
    std::scoped_lock guard(a.lock_, b.lock_);
    for (const std::uint32_t objID : ids) {
        Slot* inA = a.findSlot(objID);
        Slot* inB = b.findSlot(objID);
        assert(inA != nullptr && inB != nullptr && "trading needs slots reserved in both tables");
        const bool aHad = *inA != nullptr;
        const bool bHad = *inB != nullptr;
        std::swap(*inA, *inB);
        a.count_ = a.count_ - aHad + bHad;
        b.count_ = b.count_ - bHad + aHad;
        if (bHad && a.nextID_ <= objID) a.nextID_ = objID + 1;
        if (aHad && b.nextID_ <= objID) b.nextID_ = objID + 1;
    }
}

void CZRObjectTable::collectDetached(std::vector<std::uint32_t>& out) const {
    ScopedLock guard(lock_);
    for (const auto& [objID, obj] : few_)
        if (obj != nullptr && (obj->getFlags() & ZR_FLAG_DETACHED) != 0)
            out.push_back(obj->getObjID());
    for (const std::unique_ptr<Page>& page : pages_)
        if (page != nullptr)
            for (const Slot& obj : *page)
                if (obj != nullptr && (obj->getFlags() & ZR_FLAG_DETACHED) != 0)
                    out.push_back(obj->getObjID());
}

std::size_t CZRObjectTable::size() const {
    ScopedLock guard(lock_);
    return count_;
}
