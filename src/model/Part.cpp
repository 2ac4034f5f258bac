#include "model/Part.h"

#include "model/NodeList.h"
#include "model/ObjectTree.h"

#include <korman/ErrorCodes.h>

std::uint32_t CZRPart::validate() const {
    if (values_.posTick < 0) return ZR_E_INVALID_PART_POSITION;
    if (values_.playTime < kMinPlayTime) return ZR_E_INVALID_PART_PLAY_TIME;
    return 0;
}

std::uint32_t CZRPart::correct(CZRObjectTable&, const ZRCreateContext&) {
    if (values_.posTick < 0) return ZR_E_INVALID_PART_POSITION | kor::kUnrepairable;
    if (values_.playTime < kMinPlayTime) values_.playTime = kMinPlayTime;
    return 0;
}

void CZRPart::dumpPartLine(std::wstring& out, const std::int32_t* durSec) const {
    kor::appendFormat(out, L" posTick=%d playTime=%d durTick=%d", values_.posTick, values_.playTime,
                      durTick_);
    if (durSec != nullptr) kor::appendFormat(out, L" durSec=%d", *durSec);
    kor::appendFormat(out, L" name=%ls comment=%ls", values_.name.c_str(), values_.comment.c_str());
}

void CZRPart::copyValues(const CZRPart& source) {
    values_ = source.values_;
    durTick_ = source.durTick_;
}

void CZRPart::swapValues(CZRPart& other) {
    std::swap(values_, other.values_);
    std::swap(durTick_, other.durTick_);
}

void CZRPart::dumpFields(std::wstring& out) const {
    dumpPartLine(out, nullptr);
    out += L" ";
}

namespace kor {

bool isPartType(ZRObjType type) {
    return type == ZRObjType::MusicalPart || type == ZRObjType::ProsodyPart ||
           type == ZRObjType::WAVPart;
}

std::uint32_t checkPartList(const CZRNodeList* list) {
    if (list == nullptr) return 0;
    for (const IZRMutableKorObject* element : list->elements())
        if (!isPartType(element->getObjType())) return ZR_E_PART_IS_NULL;
    return 0;
}

} // namespace kor
