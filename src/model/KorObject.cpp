#include "model/KorObject.h"

#include <algorithm>

void CZRKorObject::getObjIDPath(std::vector<std::uint32_t>& path) const {
    path.clear();
    path.push_back(objID_);
    for (const IZRKorObject* obj = parent_; obj != nullptr; obj = obj->getParent())
        path.push_back(obj->getObjID());
    std::reverse(path.begin(), path.end());
}

bool CZRKorObject::setParent(IZRMutableKorObject* parent) {
    parent_ = parent;
    if (parent != nullptr)
        flags_ &= static_cast<std::uint16_t>(~ZR_FLAG_DETACHED);
    else
        flags_ |= ZR_FLAG_DETACHED;
    return true;
}

bool CZRKorObject::setFlags(std::uint32_t flags) {
    if (flags > 0xFFFFu) return false;
    flags_ = static_cast<std::uint16_t>(flags);
    return true;
}
