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
    std::uint64_t size = obj->getSize();
    std::vector<IZRMutableKorObject*> children;
    obj->getChildren(children);
    for (const IZRMutableKorObject* child : children) size += subtreeSize(child);
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
