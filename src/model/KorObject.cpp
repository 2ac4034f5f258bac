#include "model/KorObject.h"

#include "model/DumpFormat.h"

#include <algorithm>

void CZRKorObject::getObjIDPath(std::vector<std::uint32_t>& path) const {
    path.clear();
    for (const IZRKorObject* obj = this; obj != nullptr; obj = obj->getParent())
        path.push_back(obj->getObjID());
    std::reverse(path.begin(), path.end());
}

bool CZRKorObject::setParent(IZRMutableKorObject* parent) {
    parent_ = parent;
    if (parent != nullptr)
        flags_ &= ~ZR_FLAG_DETACHED;
    else
        flags_ |= ZR_FLAG_DETACHED;
    return true;
}

bool CZRKorObject::setFlags(std::uint32_t flags) {
    flags_ = flags;
    return true;
}

bool CZRKorObject::copyFrom(const IZRMutableKorObject* source, std::uint32_t copyFlags,
                            const ZRCreateContext* context) {
    if (source == nullptr) return false;
    if ((copyFlags & ZR_COPY_DEEP) != 0 && context == nullptr) return false;
    objType_ = source->getObjType();
    if ((source->getFlags() & ZR_FLAG_EDITED) != 0) flags_ |= ZR_FLAG_EDITED;
    return true;
}

bool CZRKorObject::swapContents(IZRMutableKorObject* other) {
    return other != nullptr && other->getObjID() == objID_ && other->getObjType() == objType_;
}

void CZRKorObject::dump(std::wstring& out, int) const {
    kor::dumpCore(out, *this);
}
