// Operations over the tree of a document: detachment, sizes, child slots and the repair walk.
#pragma once

#include "model/ObjectTable.h"

#include <cstdint>

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

/// Where a repair walk stopped.
struct CorrectResult {
    std::uint32_t code = 0;            ///< 0, or the error code of the first unrepairable object
    std::uint32_t objID = ZR_NO_OBJ_ID; ///< that object's ID
};

/// Calls `correct` on `root` and its descendants in pre-order (each object before its children,
/// as they are after its repair) and stops at the first result with kUnrepairable set, reporting
/// that code without the bit and the object's ID.
CorrectResult correctTree(IZRMutableKorObject& root, CZRObjectTable& table,
                          const ZRCreateContext& context);

} // namespace kor
