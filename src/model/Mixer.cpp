#include "model/Mixer.h"

#include "model/ContainerOps.h"
#include "model/KaraokeUnit.h"
#include "model/MasterUnit.h"
#include "model/SEUnit.h"

#include <korman/ErrorCodes.h>

IZRMasterUnit* CZRMixer::getMasterUnit() const {
    return master_;
}
IZRNodeList* CZRMixer::getZRUnitList() const {
    return zrUnits_;
}
IZRSEUnit* CZRMixer::getSEUnit() const {
    return se_;
}
IZRKaraokeUnit* CZRMixer::getKaraokeUnit() const {
    return karaoke_;
}

bool CZRMixer::setMasterUnit(CZRMasterUnit* unit) {
    return kor::setChildSlot(master_, unit, this);
}
bool CZRMixer::setZRUnitList(CZRNodeList* list) {
    return kor::setChildSlot(zrUnits_, list, this);
}
bool CZRMixer::setSEUnit(CZRSEUnit* unit) {
    return kor::setChildSlot(se_, unit, this);
}
bool CZRMixer::setKaraokeUnit(CZRKaraokeUnit* unit) {
    return kor::setChildSlot(karaoke_, unit, this);
}

std::uint32_t CZRMixer::validate() const {
    if (master_ == nullptr) return ZR_E_INVALID_MASTER_UNIT;
    if (se_ == nullptr) return ZR_E_INVALID_SE_UNIT;
    if (karaoke_ == nullptr) return ZR_E_INVALID_BACKING_UNIT;
    if (zrUnits_ == nullptr || zrUnits_->getCount() == 0 || zrUnits_->getCount() > kMaxZRUnits)
        return ZR_E_INVALID_ZR_UNIT_NUMBER;
    return kor::checkOrderedList(zrUnits_, ZRObjType::ZRUnit, kor::KeyOrder::Increasing, -1,
                                 {ZR_E_ZR_UNIT_IS_NULL, ZR_E_ZR_UNITS_ARE_DUPLICATED});
}

// The repair reports the checks' faults under its own codes: a missing list counts as a bad
// element, and units out of order report the unit ID code.
std::uint32_t CZRMixer::correct(CZRObjectTable&, const ZRCreateContext&) {
    if (zrUnits_ == nullptr && master_ != nullptr && se_ != nullptr && karaoke_ != nullptr)
        return ZR_E_ZR_UNIT_IS_NULL | kor::kUnrepairable;
    const std::uint32_t code = validate();
    if (code == ZR_E_ZR_UNITS_ARE_DUPLICATED) return ZR_E_INVALID_ZR_UNIT_ID | kor::kUnrepairable;
    return kor::unrepairable(code);
}
