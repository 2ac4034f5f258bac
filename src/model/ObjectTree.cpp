#include "model/ObjectTree.h"

namespace kor {

bool isDetached(const IZRKorObject* obj) {
    if (obj == nullptr) return true;
    for (; obj != nullptr; obj = obj->getParent())
        if ((obj->getFlags() & ZR_FLAG_DETACHED) != 0) return true;
    return false;
}

std::uint64_t subtreeSize(const IZRMutableKorObject* obj) {
    if (obj == nullptr) return 0;
    // One stack for the whole walk: a record sizes its copy on every edit and at its commit, and
    // a list per object would cost an allocation for each.
    std::uint64_t size = obj->getSize();
    std::vector<IZRMutableKorObject*> pending;
    pending.reserve(16);
    obj->getChildren(pending);
    while (!pending.empty()) {
        const IZRMutableKorObject* next = pending.back();
        pending.pop_back();
        size += next->getSize();
        next->getChildren(pending);
    }
    return size;
}

IZRMutableKorObject* parentOf(const IZRKorObject* obj) {
    return obj != nullptr ? dynamic_cast<IZRMutableKorObject*>(obj->getParent()) : nullptr;
}

CorrectResult correctTree(IZRMutableKorObject& root, CZRObjectTable& table,
                          const ZRCreateContext& context) {
    CorrectResult stopped;
    walkTree(
        root,
        [&](IZRMutableKorObject& obj, const IZRMutableKorObject*) {
            const std::uint32_t result = obj.correct(table, context);
            if ((result & kUnrepairable) == 0) return true;
            stopped = {result & ~kUnrepairable, obj.getObjID()};
            return false;
        },
        [](const std::vector<IZRMutableKorObject*>&) { return true; });
    return stopped;
}

} // namespace kor
