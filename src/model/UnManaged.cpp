#include "model/UnManaged.h"

#include "model/Aux.h"
#include "model/NodeList.h"
#include "model/ObjectTree.h"
#include "model/ObjectFactory.h"

IZRNodeList* CZRUnManaged::getAuxList() const {
    return auxes_;
}

bool CZRUnManaged::setAuxList(CZRNodeList* list) {
    return kor::setChildSlot(auxes_, list, this);
}

// Aux records cannot be created by type number, so the list is copied here rather than by the
// list's own deep copy: the list's values first, then each record through createAux.
bool CZRUnManaged::copyChildren(const CZRUnManaged& source, std::uint32_t copyFlags,
                                const ZRCreateContext& context) {
    const CZRNodeList* sourceList = source.auxes_;
    if (sourceList == nullptr) return setAuxList(nullptr);
    const bool keepIDs = (copyFlags & ZR_COPY_KEEP_IDS) != 0;
    auto idOf = [keepIDs](const IZRKorObject& obj) {
        return keepIDs ? obj.getObjID() : ZR_NO_OBJ_ID;
    };
    CZRNodeList* list = kor::createObject<CZRNodeList>(context, idOf(*sourceList));
    if (list == nullptr) return false;
    bool copied = list->copyFrom(sourceList, copyFlags & ~ZR_COPY_DEEP, &context);
    for (const IZRMutableKorObject* element : sourceList->elements()) {
        if (!copied) break;
        CZRAux* aux = kor::createAux(context, idOf(*element));
        copied = aux != nullptr && aux->copyFrom(element, copyFlags, &context) && list->append(aux);
        if (!copied && aux != nullptr && aux->getParent() == nullptr)
            context.registry.destroy(aux->getObjID());
    }
    if (!copied || !setAuxList(list)) {
        context.registry.destroy(list->getObjID());
        return false;
    }
    return true;
}

namespace kor {

CZRUnManaged* createUnManaged(const ZRCreateContext& context, std::uint32_t objID) {
    return createObject<CZRUnManaged>(context, objID);
}

} // namespace kor
