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

std::size_t CZRMasterTrackNode::findValue(std::wstring_view name) const {
    return findRow(kMasterTrackValues, name);
}

bool CZRMasterTrackNode::startStructured(const ZRXmlTag& tag) {
    if (tag.name == kTimeSig)
        startNodeChild<CZRTimeSigNode>(tag, master_->timeSigList());
    else if (tag.name == kTempo)
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
