#include "model/Sequence.h"

#include "model/ContainerOps.h"
#include "model/MasterTrack.h"
#include "model/Mixer.h"
#include "model/UnManaged.h"
#include "model/VVoice.h"
#include "model/WAVTrack.h"
#include "model/ZRTrack.h"
#include "model/ZRUnit.h"

#include <korman/ErrorCodes.h>

#include <limits>

namespace {

constexpr std::size_t kMinVersionLength = 7;
constexpr std::size_t kMaxVersionLength = 15;
// Compared with the first VVoice or track: no key can equal it.
constexpr std::int32_t kNoKey = std::numeric_limits<std::int32_t>::min();

std::uint32_t unitCount(const CZRMixer* mixer) {
    return mixer != nullptr && mixer->zrUnitList() != nullptr ? mixer->zrUnitList()->getCount() : 0;
}

/// Removes the last element of `list` and destroys it in `table`.
bool dropLast(CZRNodeList& list, CZRObjectTable& table) {
    const std::uint32_t id = list.elementAt(list.getCount() - 1)->getObjID();
    if (!list.removeByID(id)) return false;
    table.destroy(id);
    return true;
}

} // namespace

IZRMasterTrack* CZRSequence::getMasterTrack() const {
    return masterTrack_;
}
IZRZRTrack* CZRSequence::findZRTrack(std::int32_t trackNo) const {
    return zrTrack(trackNo);
}
IZRWAVTrack* CZRSequence::getSETrack() const {
    return seTrack_;
}
IZRWAVTrack* CZRSequence::getKaraokeTrack() const {
    return karaokeTrack_;
}
IZRMixer* CZRSequence::getMixer() const {
    return mixer_;
}
IZRUnManaged* CZRSequence::getUnManaged() const {
    return unManaged_;
}

CZRZRTrack* CZRSequence::zrTrack(std::int32_t trackNo) const {
    if (zrTracks_ == nullptr) return nullptr;
    for (IZRMutableKorObject* element : zrTracks_->elements()) {
        auto* track = kor::objCast<CZRZRTrack>(element);
        if (track != nullptr && track->getTrackNo() == trackNo) return track;
    }
    return nullptr;
}

bool CZRSequence::setMasterTrack(CZRMasterTrack* track) {
    return kor::setChildSlot(masterTrack_, track, this);
}
bool CZRSequence::setZRTrackList(CZRNodeList* list) {
    return kor::setChildSlot(zrTracks_, list, this);
}
bool CZRSequence::setSETrack(CZRWAVTrack* track) {
    return kor::setChildSlot(seTrack_, track, this);
}
bool CZRSequence::setKaraokeTrack(CZRWAVTrack* track) {
    return kor::setChildSlot(karaokeTrack_, track, this);
}
bool CZRSequence::setVVoiceList(CZRNodeList* list) {
    return kor::setChildSlot(vvoices_, list, this);
}
bool CZRSequence::setMixer(CZRMixer* mixer) {
    return kor::setChildSlot(mixer_, mixer, this);
}
bool CZRSequence::setUnManaged(CZRUnManaged* unManaged) {
    return kor::setChildSlot(unManaged_, unManaged, this);
}

std::uint32_t CZRSequence::validateMixerUnits() const {
    const CZRNodeList* units = mixer_->zrUnitList();
    if (units == nullptr) return 0;
    for (const IZRMutableKorObject* element : units->elements()) {
        const auto* unit = kor::objCast<CZRZRUnit>(element);
        if (unit != nullptr && zrTrack(unit->getTrackNo()) == nullptr) return ZR_E_INVALID_ZR_TRACK;
    }
    return 0;
}

std::uint32_t CZRSequence::validateTracks() const {
    if (zrTracks_ == nullptr || zrTracks_->getCount() < 1 || zrTracks_->getCount() > kMaxTracks)
        return ZR_E_INVALID_TRACK_NUMBER;
    if (zrTracks_->getCount() != unitCount(mixer_)) return ZR_E_INVALID_ZR_TRACK;
    return kor::checkOrderedList(zrTracks_, CZRZRTrack::kType, kor::KeyOrder::Distinct, kNoKey,
                                 {ZR_E_TRACK_IS_NULL, ZR_E_TRACKS_ARE_DUPLICATED});
}

std::uint32_t CZRSequence::validate() const {
    const std::size_t versionLength = values_.version.size();
    if (versionLength < kMinVersionLength || versionLength > kMaxVersionLength)
        return ZR_E_INVALID_SEQUENCE_FILE_VERSION;
    if (vvoices_ == nullptr || vvoices_->getCount() == 0 || vvoices_->getCount() > kMaxVVoices)
        return ZR_E_INVALID_VVOICE_NUMBER;
    if (const std::uint32_t code =
            kor::checkOrderedList(vvoices_, CZRVVoice::kType, kor::KeyOrder::Distinct, kNoKey,
                                  {ZR_E_VVOICE_IS_NULL, ZR_E_VVOICES_ARE_DUPLICATED}))
        return code;
    if (mixer_ == nullptr) return ZR_E_INVALID_MIXER;
    if (const std::uint32_t code = validateMixerUnits()) return code;
    if (masterTrack_ == nullptr) return ZR_E_INVALID_MASTER_TRACK;
    if (const std::uint32_t code = validateTracks()) return code;
    if (seTrack_ == nullptr) return ZR_E_INVALID_SE_TRACK;
    if (karaokeTrack_ == nullptr) return ZR_E_INVALID_BACKING_TRACK;
    return 0;
}

std::uint32_t CZRSequence::correct(CZRObjectTable& table, const ZRCreateContext&) {
    using kor::unrepairable;
    const std::size_t versionLength = values_.version.size();
    if (versionLength < kMinVersionLength || versionLength > kMaxVersionLength)
        return unrepairable(ZR_E_INVALID_SEQUENCE_FILE_VERSION);

    std::uint32_t changed = 0;
    if (vvoices_ == nullptr) return unrepairable(ZR_E_VVOICE_IS_NULL);
    if (vvoices_->getCount() == 0) return unrepairable(ZR_E_INVALID_VVOICE_NUMBER);
    if (vvoices_->getCount() > kMaxVVoices) {
        if (!dropLast(*vvoices_, table)) return unrepairable(ZR_E_INVALID_VVOICE_NUMBER);
        changed = 1;
    }
    const std::uint32_t dropped = kor::dropBadElements(
        vvoices_, CZRVVoice::kType, kor::DropRule::Repeated,
        {unrepairable(ZR_E_VVOICE_IS_NULL), unrepairable(ZR_E_VVOICES_ARE_DUPLICATED)}, table);
    if ((dropped & kor::kUnrepairable) != 0) return dropped;
    changed |= dropped;

    if (mixer_ == nullptr) return unrepairable(ZR_E_INVALID_MIXER);
    if (const CZRNodeList* units = mixer_->zrUnitList()) {
        for (const IZRMutableKorObject* element : units->elements()) {
            const auto* unit = kor::objCast<CZRZRUnit>(element);
            if (unit == nullptr) return unrepairable(ZR_E_ZR_UNIT_IS_NULL);
            if (zrTrack(unit->getTrackNo()) == nullptr)
                return unrepairable(ZR_E_INVALID_ZR_UNIT_ID);
        }
    }
    if (masterTrack_ == nullptr) return unrepairable(ZR_E_INVALID_MASTER_TRACK);

    if (zrTracks_ == nullptr) return unrepairable(ZR_E_TRACK_IS_NULL);
    if (zrTracks_->getCount() == 0) return unrepairable(ZR_E_INVALID_TRACK_NUMBER);
    if (zrTracks_->getCount() > kMaxTracks) {
        if (!dropLast(*zrTracks_, table)) return unrepairable(ZR_E_INVALID_TRACK_NUMBER);
        changed = 1;
    }
    if (zrTracks_->getCount() != unitCount(mixer_)) return unrepairable(ZR_E_INVALID_TRACK_NUMBER);
    if (const std::uint32_t code =
            kor::checkOrderedList(zrTracks_, CZRZRTrack::kType, kor::KeyOrder::Distinct, kNoKey,
                                  {ZR_E_TRACK_IS_NULL, ZR_E_TRACKS_ARE_DUPLICATED}))
        return unrepairable(code);

    if (seTrack_ == nullptr) return unrepairable(ZR_E_INVALID_SE_TRACK);
    if (karaokeTrack_ == nullptr) return unrepairable(ZR_E_INVALID_BACKING_TRACK);
    return changed;
}

void CZRSequence::dumpFields(std::wstring& out) const {
    kor::appendFormat(out, L" vender=%ls version=%ls ", values_.vender.c_str(),
                      values_.version.c_str());
}

namespace kor {

CZRSequence* findSequence(const IZRKorObject* obj) {
    for (IZRKorObject* up = obj != nullptr ? obj->getParent() : nullptr; up != nullptr;
         up = up->getParent())
        if (CZRSequence* sequence = objCast<CZRSequence>(up)) return sequence;
    return nullptr;
}

CZRMasterTrack* findMasterTrack(const IZRKorObject* obj) {
    const CZRSequence* sequence = findSequence(obj);
    return sequence != nullptr ? sequence->masterTrack() : nullptr;
}

} // namespace kor
