#include "model/StylePluginAttribInfo.h"

#include "model/ContainerOps.h"

#include <korman/ErrorCodes.h>

std::uint32_t CZRStylePluginAttribInfo::validate() const {
    if (values_.attribID.empty() || values_.attribID.size() > kMaxIDLength)
        return ZR_E_INVALID_STYLE_PLUGIN_ATTRIBUTE_INFO_ID;
    if (values_.typeID < ZR_STYLE_ATTRIB_INTEGER || values_.typeID > ZR_STYLE_ATTRIB_CHOICE)
        return ZR_E_INVALID_STYLE_PLUGIN_ATTRIBUTE_INFO_TYPE;
    return 0;
}

std::uint32_t CZRStylePluginAttribInfo::correct(CZRObjectTable&, const ZRCreateContext&) {
    return kor::unrepairable(validate());
}

void CZRStylePluginAttribInfo::dumpFields(std::wstring& out) const {
    kor::appendFormat(out, L" attribID=%ls typeID=%d ", values_.attribID.c_str(), values_.typeID);
}
