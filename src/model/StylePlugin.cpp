#include "model/StylePlugin.h"

#include "model/ContainerOps.h"

bool CZRStylePlugin::setInfoList(InfoList which, CZRNodeList* list) {
    return kor::setChildSlot(lists_[static_cast<std::size_t>(which)], list, this);
}

bool CZRStylePlugin::copyChildren(const CZRStylePlugin& source, std::uint32_t copyFlags,
                                  const ZRCreateContext& context) {
    return kor::copyListRow(lists_, source.lists_, this, copyFlags, context);
}

void CZRStylePlugin::dumpFields(std::wstring& out) const {
    kor::appendFormat(out, L" id=%ls name=%ls version=%ls ", values_.id.c_str(),
                      values_.name.c_str(), values_.version.c_str());
}
