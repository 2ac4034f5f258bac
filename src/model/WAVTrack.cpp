#include "model/WAVTrack.h"

#include "model/ContainerOps.h"
#include "model/Part.h"

std::uint32_t CZRWAVTrack::validate() const {
    return kor::checkPartList(parts_);
}

std::uint32_t CZRWAVTrack::correct(CZRObjectTable&, const ZRCreateContext&) {
    return kor::unrepairable(validate());
}

bool CZRWAVTrack::copyChildren(const CZRWAVTrack& source, std::uint32_t copyFlags,
                               const ZRCreateContext& context) {
    return kor::copyChildSlot(parts_, source.parts_, this, copyFlags, context);
}
