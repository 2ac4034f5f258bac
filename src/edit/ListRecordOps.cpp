#include "edit/ListRecordOps.h"

#include "model/MasterTrack.h"
#include "model/MusicalNote.h"
#include "model/NodeList.h"
#include "model/NoteStyleSeqAttrib.h"
#include "model/ObjectTable.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace kor {

namespace {

using Held = std::pair<std::uint32_t, IZRMutableKorObject*>;

// `root` and everything below it, by ascending ID, into `held`; `pending` is the walk's stack.
// Both are the caller's, who sizes them once for a whole subtree rather than letting them grow
// object by object: a many-note commit plans an exchange for every note.
void subtreeByID(IZRMutableKorObject& root, std::vector<Held>& held,
                 std::vector<IZRMutableKorObject*>& pending) {
    held.clear();
    pending.assign(1, &root);
    while (!pending.empty()) {
        IZRMutableKorObject* obj = pending.back();
        pending.pop_back();
        held.emplace_back(obj->getObjID(), obj);
        obj->getChildren(pending);
    }
    std::sort(held.begin(), held.end(),
              [](const Held& a, const Held& b) { return a.first < b.first; });
}

} // namespace

bool planSubtreeExchange(CZRObjectTable& live, IZRMutableKorObject& liveRoot, CZRObjectTable& store,
                         IZRMutableKorObject& copyRoot, SubtreeExchange& plan) {
    plan = {};
    if (liveRoot.getObjID() != copyRoot.getObjID()) return false;
    std::vector<IZRMutableKorObject*> walk;
    walk.reserve(16);
    std::vector<Held> liveObjects;
    std::vector<Held> copyObjects;
    liveObjects.reserve(16);
    copyObjects.reserve(16);
    subtreeByID(liveRoot, liveObjects, walk);
    subtreeByID(copyRoot, copyObjects, walk);
    SubtreeExchange made;
    made.twins.reserve(std::min(liveObjects.size(), copyObjects.size()));
    auto inLive = liveObjects.begin();
    auto inCopy = copyObjects.begin();
    while (inLive != liveObjects.end() || inCopy != copyObjects.end()) {
        if (inCopy == copyObjects.end() ||
            (inLive != liveObjects.end() && inLive->first < inCopy->first)) {
            // Live alone: the edits deleted it, and the copy's table takes it.
            if (store.lookup(inLive->first) != nullptr) return false;
            made.moving.push_back(inLive->first);
            made.deleted.push_back(inLive->second);
            ++inLive;
        } else if (inLive == liveObjects.end() || inCopy->first < inLive->first) {
            // In the copy alone: the edits inserted it, and the song takes it.
            if (live.lookup(inCopy->first) != nullptr) return false;
            made.moving.push_back(inCopy->first);
            made.inserted.push_back(inCopy->second);
            ++inCopy;
        } else {
            if (inLive->second->getObjType() != inCopy->second->getObjType()) return false;
            made.twins.emplace_back(inLive->second, inCopy->second);
            ++inLive;
            ++inCopy;
        }
    }
    live.reserveSlots(made.moving);
    store.reserveSlots(made.moving);
    plan = std::move(made);
    return true;
}

void applySubtreeExchange(CZRObjectTable& live, CZRObjectTable& store,
                          SubtreeExchange& plan) noexcept {
    CZRObjectTable::tradeSlots(live, store, plan.moving);
    // After trading contents, each side's child slots name the right objects by ID but may point
    // at the other side's twins: point them at the objects of their own table. Relinking looks
    // objects up by ID only, so each pair is done in one visit.
    for (const auto& [liveObject, copy] : plan.twins) {
        (void)liveObject->swapTree(copy);
        liveObject->relinkChildren(live);
        copy->relinkChildren(store);
    }
    for (IZRMutableKorObject* obj : plan.inserted)
        obj->relinkChildren(live);
    for (IZRMutableKorObject* obj : plan.deleted)
        obj->relinkChildren(store);
    plan = {};
}

std::vector<std::uint32_t> subtreeIDs(IZRMutableKorObject& root) {
    std::vector<Held> held;
    std::vector<IZRMutableKorObject*> walk;
    subtreeByID(root, held, walk);
    std::vector<std::uint32_t> ids;
    ids.reserve(held.size());
    for (const auto& [objID, obj] : held)
        ids.push_back(objID);
    return ids;
}

void sortCopiedLists(CZRNodeList& list) {
    list.sortByKey();
}

void sortCopiedLists(CZRMasterTrack& master) {
    for (CZRNodeList* list : {master.timeSigList(), master.tempoList()})
        if (list != nullptr) list->sortByKey();
}

void sortCopiedLists(CZRMusicalNote& note) {
    if (note.noteSeqStyle() == nullptr) return;
    for (const auto& [id, list] : note.noteSeqStyle()->lists())
        if (list != nullptr) list->sortByKey();
}

} // namespace kor
