#include "formats/kor3/MasterTrackNodes.h"

namespace Kor3 {

namespace {

constexpr TZRValueField<CZRMasterTrack> kMasterTrackValues[] = {
    {kSeqName, &CZRMasterTrack::setSeqName},
    {kComment, &CZRMasterTrack::setComment},
    {kResolution, &CZRMasterTrack::setResolution},
    {kPreMeasure, &CZRMasterTrack::setPreMeasure},
};

} // namespace

std::size_t CZRMasterTrackNode::findValue(std::u16string_view name) const {
    return findRow(kMasterTrackValues, name);
}

bool CZRMasterTrackNode::startStructured(const ZRXmlStartTag& tag) {
    if (tag.name == kTimeSig)
        startNodeChild<CZRTimeSigNode>(master_->timeSigList());
    else if (tag.name == kTempo)
        startNodeChild<CZRTempoNode>(master_->tempoList());
    else
        return false;
    return true;
}

void CZRMasterTrackNode::takeRowValue(std::size_t row, const CZRXmlValue& value) {
    kMasterTrackValues[row].take(*master_, value);
}

void CZRMasterTrackNode::finish() {
    sortList(master_->timeSigList());
    sortList(master_->tempoList());
}

} // namespace Kor3
