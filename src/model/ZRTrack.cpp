#include "model/ZRTrack.h"

#include "model/ContainerOps.h"
#include "model/Part.h"

#include <korman/ErrorCodes.h>

std::uint32_t CZRZRTrack::validate() const {
    if (values_.trackNo < 0 || values_.trackNo > kMaxTrackNo) return ZR_E_INVALID_TRACK_ID;
    return kor::checkPartList(parts_);
}

std::uint32_t CZRZRTrack::correct(CZRObjectTable&, const ZRCreateContext&) {
    return kor::unrepairable(validate());
}

bool CZRZRTrack::copyChildren(const CZRZRTrack& source, std::uint32_t copyFlags,
                              const ZRCreateContext& context) {
    return kor::copyChildSlot(parts_, source.parts_, this, copyFlags, context);
}

void CZRZRTrack::dumpFields(std::wstring& out) const {
    kor::appendFormat(out, L" name=%ls comment=%ls trackNo=%d ", values_.name.c_str(),
                      values_.comment.c_str(), values_.trackNo);
}
