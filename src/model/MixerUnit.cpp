#include "model/MixerUnit.h"

#include "model/ObjectTable.h"

#include <korman/ErrorCodes.h>

namespace kor {

std::uint32_t checkVstList(const CZRNodeList* list, VstListRule rule) {
    return list != nullptr && list->getCount() > rule.maxCount ? rule.countCode : 0;
}

std::uint32_t repairVstList(CZRNodeList* list, VstListRule rule, CZRObjectTable& table) {
    if (list == nullptr) return 0;
    for (const IZRMutableKorObject* element : list->elements())
        if (element->getObjType() != ZRObjType::VstPlugin)
            return ZR_E_VST_PLUGIN_IS_NULL | kUnrepairable;
    if (list->getCount() <= rule.maxCount) return 0;
    const std::uint32_t last = list->elementAt(list->getCount() - 1)->getObjID();
    if (!list->removeByID(last)) return rule.countCode | kUnrepairable;
    table.destroy(last);
    return 1;
}

} // namespace kor
