#include "model/ObjectTable.h"

#include <cassert>
#include <mutex>

using kor::platform::ScopedLock;

CZRObjectTable::~CZRObjectTable() { clear(); }

void CZRObjectTable::clear() {
    ScopedLock guard(lock_);
    objects_.clear();
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
    if (!objects_.try_emplace(objID, std::move(obj)).second) return false;
    if (nextID_ <= objID) nextID_ = objID + 1;
    return true;
}

IZRMutableKorObject* CZRObjectTable::lookup(std::uint32_t objID) const {
    ScopedLock guard(lock_);
    const auto at = objects_.find(objID);
    return at != objects_.end() ? at->second.get() : nullptr;
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
    for (IZRMutableKorObject* child : children) destroySubtree(child);
    // Erase only when the ID names this very object, so a child that lives in another table never
    // takes an unrelated object of this one with it.
    const auto at = objects_.find(obj->getObjID());
    if (at != objects_.end() && at->second.get() == obj) objects_.erase(at);
}

bool CZRObjectTable::transfer(CZRObjectTable& source, std::uint32_t objID) {
    if (&source == this) return false;
    std::scoped_lock guard(lock_, source.lock_);
    IZRMutableKorObject* obj = source.lookup(objID);
    return obj != nullptr && transferSubtree(source, obj);
}

bool CZRObjectTable::transferSubtree(CZRObjectTable& source, IZRMutableKorObject* obj) {
    std::vector<IZRMutableKorObject*> children;
    obj->getChildren(children);
    for (IZRMutableKorObject* child : children)
        if (!transferSubtree(source, child)) return false;

    const std::uint32_t objID = obj->getObjID();
    const auto from = source.objects_.find(objID);
    if (from == source.objects_.end() || from->second.get() != obj) return false;
    if (objects_.contains(objID)) return false;
    objects_.insert(source.objects_.extract(from));
    if (nextID_ <= objID) nextID_ = objID + 1;
    return true;
}

void CZRObjectTable::collectDetached(std::vector<std::uint32_t>& out) const {
    ScopedLock guard(lock_);
    for (const auto& [objID, obj] : objects_)
        if ((obj->getFlags() & ZR_FLAG_DETACHED) != 0) out.push_back(objID);
}

std::size_t CZRObjectTable::size() const {
    ScopedLock guard(lock_);
    return objects_.size();
}
