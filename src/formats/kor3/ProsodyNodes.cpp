#include "formats/kor3/ProsodyNodes.h"

#include "formats/kor3/PartValues.h"

namespace Kor3 {

namespace {

/// List types of a prosody part's event lists.
constexpr ZRObjType kPhonemeList = ZRObjType::ProsodyPhoneme;
constexpr ZRObjType kVoiceList = ZRObjType::ProsodyVoice;
constexpr ZRObjType kElementList = ZRObjType::ProsodyElement;
constexpr ZRObjType kControlList = ZRObjType::ProsodyControl;

} // namespace

bool CZRProsodyPartNode::begin() {
    part_ = create<CZRProsodyPart>();
    if (part_ == nullptr) return false;
    append(parts_, part_);
    CZRNodeList* voices = createList(kVoiceList);
    CZRNodeList* phonemes = createList(kPhonemeList);
    if (voices == nullptr || phonemes == nullptr || !check(part_->setVoiceList(voices)) ||
        !check(part_->setPhonemeList(phonemes)))
        return false;
    for (std::size_t which : {kPitchList, kDynamicsList}) {
        CZRNodeList* elements = createList(kElementList);
        if (elements == nullptr || !check(part_->setElementList(which, elements))) return false;
    }
    for (std::int32_t type = 0; type < CZRProsodyPart::kControlTypes; ++type) {
        CZRNodeList* controls = createList(kControlList, type);
        if (controls == nullptr || !check(part_->setControlList(type, controls))) return false;
    }
    return true;
}

std::size_t CZRProsodyPartNode::findValue(std::u16string_view name) const {
    return findRow(kPartValues, name);
}

bool CZRProsodyPartNode::startStructured(const ZRXmlStartTag& tag) {
    if (tag.name == kVoice)
        startNodeChild<CZRProsodyVoiceNode>(part_->voiceList());
    else if (tag.name == kPCtrl)
        startNodeChild<CZRProsodyControlNode>(part_);
    else if (tag.name == kPch)
        startNodeChild<CZRProsodyPitchNode>(part_->elementList(kPitchList));
    else if (tag.name == kDyn)
        startNodeChild<CZRProsodyDynamicsNode>(part_->elementList(kDynamicsList));
    else if (tag.name == kPhnm)
        startNodeChild<CZRProsodyPhonemeNode>(part_->phonemeList());
    else
        return false;
    return true;
}

void CZRProsodyPartNode::takeRowValue(std::size_t row, const CZRXmlValue& value) {
    kPartValues[row].take(part_->part(), value);
}

void CZRProsodyPartNode::finish() {
    sortList(part_->voiceList());
    sortList(part_->phonemeList());
    sortList(part_->elementList(kPitchList));
    sortList(part_->elementList(kDynamicsList));
    for (std::int32_t type = 0; type < CZRProsodyPart::kControlTypes; ++type)
        sortList(part_->controlList(type));
}

} // namespace Kor3
