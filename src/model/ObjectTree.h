// Operations over the tree of a document: detachment, sizes, child slots and the repair walk.
#pragma once

#include "model/ObjectTable.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace kor {

/// Bit that a repair result carries when the object stays invalid.
inline constexpr std::uint32_t kUnrepairable = 0x8000u;

/// True for null, or when the object or one of its ancestors carries the detached mark.
bool isDetached(const IZRKorObject* obj);

/// The sum of getSize over `obj` and all its descendants; 0 for null.
std::uint64_t subtreeSize(const IZRMutableKorObject* obj);

/// The parent of `obj` as the write view, or null.
IZRMutableKorObject* parentOf(const IZRKorObject* obj);

/// Replaces the single child held in `field` of `container` by `child` (or by nothing): the old
/// child is detached, the new one linked under `container`. Succeeds at once when `child` is
/// already there; when a parent change fails the field keeps its old child.
template <class T>
[[nodiscard]] bool setChildSlot(T*& field, T* child, IZRMutableKorObject* container) {
    if (field == child) return true;
    if (field != nullptr && !field->setParent(nullptr)) return false;
    if (child != nullptr && !child->setParent(container)) {
        if (field != nullptr) field->setParent(container);
        return false;
    }
    field = child;
    return true;
}

/// Walks `root` and its descendants in pre-order (each object before its children, the children
/// in their order). `visit(obj, container)` comes first for each object, with the container it
/// was reached from (null for the root); then its children are taken, after anything `visit`
/// changed, and handed to `inspect(children)`, which may reorder them (they are walked in the
/// order it leaves). The walk stops at the first call that returns false and returns false.
///
/// It keeps one list of children per level of the path, reused for the next object at that
/// level, so it holds a pointer for each child of the objects on its path (a part's notes while
/// the part is walked) rather than a queue of everything still to visit.
template <class Visit, class Inspect>
bool walkTree(IZRMutableKorObject& root, Visit visit, Inspect inspect) {
    struct Level {
        IZRMutableKorObject* container = nullptr;
        std::vector<IZRMutableKorObject*> children;
        std::size_t next = 0;
    };
    std::vector<Level> path;
    std::size_t depth = 0;
    const auto enter = [&](IZRMutableKorObject& obj, IZRMutableKorObject* container) {
        if (!visit(obj, container)) return false;
        if (path.size() == depth) path.emplace_back();
        Level& level = path[depth];
        level.container = &obj;
        level.children.clear();
        level.next = 0;
        obj.getChildren(level.children);
        return inspect(level.children);
    };
    if (!enter(root, nullptr)) return false;
    while (true) {
        Level& level = path[depth];
        if (level.next == level.children.size()) {
            if (depth == 0) return true;
            --depth;
            continue;
        }
        IZRMutableKorObject* child = level.children[level.next++];
        IZRMutableKorObject* container = level.container;
        ++depth;
        if (!enter(*child, container)) return false;
    }
}

/// Where a repair walk stopped.
struct CorrectResult {
    std::uint32_t code = 0;             ///< 0, or the error code of the first unrepairable object
    std::uint32_t objID = ZR_NO_OBJ_ID; ///< that object's ID
};

/// Calls `correct` on `root` and its descendants in pre-order (each object before its children,
/// as they are after its repair) and stops at the first result with kUnrepairable set, reporting
/// that code without the bit and the object's ID.
CorrectResult correctTree(IZRMutableKorObject& root, CZRObjectTable& table,
                          const ZRCreateContext& context);

} // namespace kor
