#include "formats/kor3/TrackNodes.h"

#include "formats/kor3/PartNodes.h"
#include "formats/kor3/PartValues.h"
#include "formats/kor3/ProsodyNodes.h"

namespace Kor3 {

namespace {

constexpr TZRValueField<CZRZRTrack> kZRTrackValues[] = {
    {kZrTrackNo, &CZRZRTrack::setTrackNo},
    {kTrackName, &CZRZRTrack::setName},
    {kComment, &CZRZRTrack::setComment},
};

// What a WAV part has besides the values of every part.
constexpr TZRValueField<CZRWAVPart> kWAVPartValues[] = {
    {kSampleRate, &CZRWAVPart::setSampleRate},
    {kSampleReso, &CZRWAVPart::setSampleReso},
    {kChannels, &CZRWAVPart::setChannels},
    {kFilePath, &CZRWAVPart::setFilePath},
};

constexpr TZRValueField<ZRAuxValues> kAuxValues[] = {
    {kAuxID, &ZRAuxValues::id},
    {kContent, &ZRAuxValues::content},
};

} // namespace

bool CZRZRTrackNode::begin() {
    track_ = create<CZRZRTrack>();
    CZRNodeList* parts = track_ != nullptr ? createList(ZRObjType::Part) : nullptr;
    if (parts == nullptr || !check(track_->setPartList(parts))) return false;
    append(tracks_, track_);
    return true;
}

std::size_t CZRZRTrackNode::findValue(std::u16string_view name) const {
    return findRow(kZRTrackValues, name);
}

bool CZRZRTrackNode::startStructured(const ZRXmlStartTag& tag) {
    if (tag.name == kMusicalPart)
        startNodeChild<CZRMusicalPartNode>(track_->partList());
    else if (tag.name == kProsodyPart)
        startNodeChild<CZRProsodyPartNode>(track_->partList());
    else
        return false;
    return true;
}

void CZRZRTrackNode::takeRowValue(std::size_t row, const CZRXmlValue& value) {
    kZRTrackValues[row].take(*track_, value);
}

bool CZRWAVTrackNode::startStructured(const ZRXmlStartTag& tag) {
    if (tag.name != kWavPart) return false;
    startNodeChild<CZRWAVPartNode>(track_->wavPartList());
    return true;
}

bool CZRWAVPartNode::begin() {
    part_ = create<CZRWAVPart>();
    if (part_ == nullptr) return false;
    append(parts_, part_);
    return true;
}

std::size_t CZRWAVPartNode::findValue(std::u16string_view name) const {
    return findRow(kPartValues, kWAVPartValues, name);
}

void CZRWAVPartNode::takeRowValue(std::size_t row, const CZRXmlValue& value) {
    takeRow(kPartValues, part_->part(), kWAVPartValues, *part_, row, value);
}

bool CZRAuxNode::begin() {
    aux_ = kor::createAux(context(), ZR_NO_OBJ_ID);
    if (aux_ == nullptr) {
        fail();
        return false;
    }
    append(auxes_, aux_);
    return true;
}

std::size_t CZRAuxNode::findValue(std::u16string_view name) const {
    return findRow(kAuxValues, name);
}

void CZRAuxNode::takeRowValue(std::size_t row, const CZRXmlValue& value) {
    kAuxValues[row].take(aux_->values(), value);
}

} // namespace Kor3
