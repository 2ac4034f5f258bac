// Creation of objects: the generic factory every class uses, and creation by type number.
#pragma once

#include "model/ObjectTable.h"

#include <memory>
#include <new>
#include <utility>

namespace kor {

/// Creates an object of class `T` with `args` as its initial values, under `objID` or under a
/// fresh ID from the context's ID source when `objID` is ZR_NO_OBJ_ID, and registers it in the
/// context's registry. The object starts unlinked with flags 0. Returns it (borrowed from the
/// registry), or null when the ID is taken or memory runs out.
template <class T, class... Args>
T* createObject(const ZRCreateContext& context, std::uint32_t objID, Args&&... args) {
    const std::uint32_t id = objID == ZR_NO_OBJ_ID ? context.idSource.allocateID() : objID;
    try {
        std::unique_ptr<T> obj(new (context.idSource.store()) T(id, std::forward<Args>(args)...));
        obj->setFlags(0);
        T* created = obj.get();
        return context.registry.registerObject(id, std::move(obj)) ? created : nullptr;
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

/// Creates an object of the class that `type` names, with all-zero values (a node list gets
/// list type and sub-kind -1). Null for the types that are never created this way (0, the shared
/// part 18, aux records 32 and their container 33, numbers above 35) and when creation fails.
IZRMutableKorObject* createByType(const ZRCreateContext& context, std::uint32_t objID,
                                  ZRObjType type);

} // namespace kor
