#include "formats/kor3/MasterTrackNodes.h"

namespace Kor3 {

std::span<const std::wstring_view> CZRMasterTrackNode::valueNames() const {
    static constexpr std::wstring_view kNames[] = {L"seqName", L"comment", L"resolution",
                                                   L"preMeasure"};
    return kNames;
}

bool CZRMasterTrackNode::startStructured(const ZRXmlTag& tag) {
    if (tag.name == L"timeSig")
        startNodeChild<CZRTimeSigNode>(tag, master_->timeSigList());
    else if (tag.name == L"tempo")
        startNodeChild<CZRTempoNode>(tag, master_->tempoList());
    else
        return false;
    return true;
}

void CZRMasterTrackNode::takeValue(std::wstring_view name, const CZRSimpleXmlNode& value) {
    if (name == L"seqName")
        master_->setSeqName(value.text());
    else if (name == L"comment")
        master_->setComment(value.text());
    else if (name == L"resolution")
        master_->setResolution(value.number());
    else
        master_->setPreMeasure(value.number());
}

void CZRMasterTrackNode::finish() {
    sortList(master_->timeSigList());
    sortList(master_->tempoList());
}

std::span<const std::wstring_view> CZRTimeSigNode::valueNames() const {
    static constexpr std::wstring_view kNames[] = {L"posMes", L"nume", L"denomi"};
    return kNames;
}

void CZRTimeSigNode::takeValue(std::wstring_view name, const CZRSimpleXmlNode& value) {
    (name == L"posMes" ? values_.posMes
     : name == L"nume" ? values_.numerator
                       : values_.denominator) = value.number();
}

void CZRTimeSigNode::finish() {
    if (CZRTimeSig* timeSig = create<CZRTimeSig>(values_)) append(list_, timeSig);
}

std::span<const std::wstring_view> CZRTempoNode::valueNames() const {
    static constexpr std::wstring_view kNames[] = {L"posTick", L"bpm"};
    return kNames;
}

void CZRTempoNode::takeValue(std::wstring_view name, const CZRSimpleXmlNode& value) {
    (name == L"posTick" ? values_.posTick : values_.bpm) = value.number();
}

void CZRTempoNode::finish() {
    if (CZRTempo* tempo = create<CZRTempo>(values_)) append(list_, tempo);
}

} // namespace Kor3
