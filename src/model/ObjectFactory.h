// Creation of objects by type number, for code that knows a class only by its number. It includes
// every class, so no class includes it: a class creates the classes it names with
// kor::createObject, and copies its children through their own cloneInto.
#pragma once

#include "model/MutableKorObject.h"
#include "model/ObjectTable.h"

namespace kor {

/// Creates an object of the class that `type` names, with all-zero values (a node list gets
/// list type and sub-kind -1). Null for the types that are never created this way (0, the shared
/// part 18, aux records 32 and their container 33, numbers above 35) and when creation fails.
IZRMutableKorObject* createByType(const ZRCreateContext& context, std::uint32_t objID,
                                  ZRObjType type);

} // namespace kor
