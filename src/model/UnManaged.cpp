#include "model/UnManaged.h"

#include "model/ContainerOps.h"

IZRNodeList* CZRUnManaged::getAuxList() const {
    return auxes_;
}

bool CZRUnManaged::setAuxList(CZRNodeList* list) {
    return kor::setChildSlot(auxes_, list, this);
}

bool CZRUnManaged::copyChildren(const CZRUnManaged& source, std::uint32_t copyFlags,
                                const ZRCreateContext& context) {
    return kor::copyChildSlot(auxes_, source.auxes_, this, copyFlags, context);
}

namespace kor {

CZRUnManaged* createUnManaged(const ZRCreateContext& context, std::uint32_t objID) {
    return createObject<CZRUnManaged>(context, objID);
}

} // namespace kor
