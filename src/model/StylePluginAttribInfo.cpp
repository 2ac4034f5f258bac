#include "model/StylePluginAttribInfo.h"

void CZRStylePluginAttribInfo::dumpFields(std::wstring& out) const {
    kor::appendFormat(out, L" attribID=%ls typeID=%d ", values().attribID.c_str(), values().typeID);
}
