#include "formats/kor3/MasterTrackNodes.h"

namespace Kor3 {

namespace {

constexpr TZRValueField<CZRMasterTrack> kMasterTrackValues[] = {
    {L"seqName", &CZRMasterTrack::setSeqName},
    {L"comment", &CZRMasterTrack::setComment},
    {L"resolution", &CZRMasterTrack::setResolution},
    {L"preMeasure", &CZRMasterTrack::setPreMeasure},
};

} // namespace

std::size_t CZRMasterTrackNode::findValue(std::wstring_view name) const {
    return findRow(kMasterTrackValues, name);
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

void CZRMasterTrackNode::takeValue(std::size_t row, const CZRSimpleXmlNode& value) {
    kMasterTrackValues[row].take(*master_, value);
}

void CZRMasterTrackNode::finish() {
    sortList(master_->timeSigList());
    sortList(master_->tempoList());
}

} // namespace Kor3
