#include "model/ProsodyPart.h"

#include "model/MasterTrack.h"
#include "model/ProsodyElement.h"
#include "model/ProsodyPhoneme.h"
#include "model/ProsodyVoice.h"
#include "model/Sequence.h"

#include <korman/ErrorCodes.h>

#include <algorithm>
#include <limits>

namespace {

// Voices are compared with a position one second before the part.
constexpr std::int32_t kBeforeFirstVoice = -65536;

std::int32_t endOf(const CZRProsodyPhoneme& phoneme) {
    return static_cast<std::int32_t>(
        std::min<std::int64_t>(std::int64_t{phoneme.getPosSec()} + phoneme.getDurSec(),
                               std::numeric_limits<std::int32_t>::max()));
}

} // namespace

CZRNodeList* CZRProsodyPart::controlList(std::int32_t type) const {
    return kor::listAt(controls_, type);
}

bool CZRProsodyPart::setVoiceList(CZRNodeList* list) {
    return kor::setChildSlot(voices_, list, this);
}
bool CZRProsodyPart::setPhonemeList(CZRNodeList* list) {
    return kor::setChildSlot(phonemes_, list, this);
}
bool CZRProsodyPart::setElementList(std::size_t which, CZRNodeList* list) {
    return which < elements_.size() && kor::setChildSlot(elements_[which], list, this);
}
bool CZRProsodyPart::setControlList(std::int32_t type, CZRNodeList* list) {
    return kor::setListAt(controls_, type, list, this);
}

std::uint32_t CZRProsodyPart::validatePhonemes() const {
    if (phonemes_ == nullptr) return 0;
    std::int64_t previousEnd = std::numeric_limits<std::int64_t>::min();
    for (const IZRMutableKorObject* element : phonemes_->elements()) {
        const auto* phoneme = kor::objCast<CZRProsodyPhoneme>(element);
        if (phoneme == nullptr) return ZR_E_PROSODY_PHONEME_IS_NULL;
        if (phoneme->getPosSec() < previousEnd) return ZR_E_PROSODY_PHONEMES_ARE_DUPLICATED;
        previousEnd = endOf(*phoneme);
    }
    return 0;
}

std::uint32_t CZRProsodyPart::validate() const {
    if (voices_ == nullptr || voices_->getCount() == 0) return ZR_E_INVALID_PROSODY_VOICE_NUMBER;
    if (const std::uint32_t code = kor::checkOrderedList(
            voices_, CZRProsodyVoice::kType, kor::KeyOrder::Increasing, kBeforeFirstVoice,
            {ZR_E_PROSODY_VOICE_IS_NULL, ZR_E_PROSODY_VOICES_ARE_DUPLICATED}))
        return code;
    if (const std::uint32_t code = kor::checkEachList(
            controls_, ZRObjType::ProsodyControl, kor::KeyOrder::Increasing, -1,
            {ZR_E_PROSODY_CONTROL_IS_NULL, ZR_E_PROSODY_CONTROLS_ARE_DUPLICATED}))
        return code;
    for (const CZRNodeList* list : elements_) {
        if (list == nullptr || list->getCount() == 0) return ZR_E_INVALID_PROSODY_ELEMENT_NUMBER;
        if (const std::uint32_t code = kor::checkOrderedList(
                list, CZRProsodyElement::kType, kor::KeyOrder::Increasing, -1,
                {ZR_E_PROSODY_ELEMENT_IS_NULL, ZR_E_PROSODY_ELEMENTS_ARE_DUPLICATED}))
            return code;
    }
    if (const std::uint32_t code = validatePhonemes()) return code;
    return part().validate();
}

std::uint32_t CZRProsodyPart::correct(CZRObjectTable& table, const ZRCreateContext& context) {
    using kor::unrepairable;
    const std::uint32_t partResult = part().correct(table, context);
    if ((partResult & kor::kUnrepairable) != 0) return partResult;

    kor::HeadedListCodes voiceCodes =
        kor::headedListCodes(ZR_E_PROSODY_VOICE_IS_NULL, ZR_E_PROSODY_VOICES_ARE_DUPLICATED,
                             ZR_E_INVALID_PROSODY_VOICE_NUMBER);
    voiceCodes.createFailed = voiceCodes.appendFailed;
    constexpr kor::HeadedListCodes elementCodes =
        kor::headedListCodes(ZR_E_PROSODY_ELEMENT_IS_NULL, ZR_E_PROSODY_ELEMENTS_ARE_DUPLICATED,
                             ZR_E_INVALID_PROSODY_ELEMENT_NUMBER);
    auto elementToZero = [](CZRProsodyElement& element) { element.values().posSec = 0; };

    kor::RepairResult events;
    const bool repaired =
        events.add(kor::repairHeadedList<CZRProsodyVoice>(
            voices_, this, voiceCodes, ZRProsodyVoiceValues{0, 0, 0},
            [](CZRProsodyVoice& voice) { voice.values().posSec = 0; }, table, context)) &&
        events.add(kor::dropInEachList(controls_, ZRObjType::ProsodyControl,
                                       kor::DropRule::RepeatedOrNegative,
                                       {unrepairable(ZR_E_PROSODY_CONTROL_IS_NULL),
                                        unrepairable(ZR_E_PROSODY_CONTROLS_ARE_DUPLICATED)},
                                       table)) &&
        events.add(kor::repairHeadedList<CZRProsodyElement>(elements_[0], this, elementCodes,
                                                            ZRProsodyElementValues{}, elementToZero,
                                                            table, context)) &&
        events.add(kor::repairHeadedList<CZRProsodyElement>(elements_[1], this, elementCodes,
                                                            ZRProsodyElementValues{}, elementToZero,
                                                            table, context)) &&
        events.add(kor::dropBadElements(phonemes_, CZRProsodyPhoneme::kType,
                                        kor::DropRule::Negative,
                                        {unrepairable(ZR_E_PROSODY_PHONEME_IS_NULL),
                                         unrepairable(ZR_E_INVALID_PROSODY_PHONEME_POSITION)},
                                        table));
    if (!repaired) return events.value();

    updateDerivedLength();
    return events.value() != 0 ? 1 : partResult;
}

void CZRProsodyPart::updateDerivedLength() {
    std::int32_t end = std::max(0, kor::lastKey(voices_, 0));
    for (const CZRNodeList* list : controls_)
        end = std::max(end, kor::lastKey(list, 0));
    for (const CZRNodeList* list : elements_)
        end = std::max(end, kor::lastKey(list, 0));
    if (phonemes_ != nullptr)
        for (const IZRMutableKorObject* element : phonemes_->elements())
            if (const auto* phoneme = kor::objCast<CZRProsodyPhoneme>(element))
                end = std::max(end, endOf(*phoneme));
    durSec_ = end;
    if (const auto ticks = kor::secDurationToTicks(kor::findMasterTrack(this), getPosTick(), end))
        part().setDurTick(*ticks);
}

bool CZRProsodyPart::copyChildren(const CZRProsodyPart& source, std::uint32_t copyFlags,
                                  const ZRCreateContext& context) {
    return kor::copyChildSlot(voices_, source.voices_, this, copyFlags, context) &&
           kor::copyChildSlot(phonemes_, source.phonemes_, this, copyFlags, context) &&
           kor::copyListRow(elements_, source.elements_, this, copyFlags, context) &&
           kor::copyListRow(controls_, source.controls_, this, copyFlags, context);
}

void CZRProsodyPart::dumpFields(std::wstring& out) const {
    part().dumpPartLine(out, &durSec_);
    out += L" ";
}
