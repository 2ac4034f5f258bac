#include "formats/kor3/TrackNodes.h"

#include "formats/kor3/PartNodes.h"
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

std::size_t CZRZRTrackNode::findValue(std::wstring_view name) const {
    return findRow(kZRTrackValues, name);
}

bool CZRZRTrackNode::startStructured(const ZRXmlTag& tag) {
    if (tag.name == kMusicalPart)
        startNodeChild<CZRMusicalPartNode>(tag, track_->partList());
    else if (tag.name == kProsodyPart)
        startNodeChild<CZRProsodyPartNode>(tag, track_->partList());
    else
        return false;
    return true;
}

void CZRZRTrackNode::takeValue(std::size_t row, const CZRSimpleXmlNode& value) {
    kZRTrackValues[row].take(*track_, value);
}

bool CZRWAVTrackNode::startStructured(const ZRXmlTag& tag) {
    if (tag.name != kWavPart) return false;
    startNodeChild<CZRWAVPartNode>(tag, track_->wavPartList());
    return true;
}

bool CZRWAVPartNode::begin() {
    part_ = create<CZRWAVPart>();
    if (part_ == nullptr) return false;
    append(parts_, part_);
    return true;
}

std::size_t CZRWAVPartNode::findValue(std::wstring_view name) const {
    return findRow(kPartValues, kWAVPartValues, name);
}

void CZRWAVPartNode::takeValue(std::size_t row, const CZRSimpleXmlNode& value) {
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

std::size_t CZRAuxNode::findValue(std::wstring_view name) const {
    return findRow(kAuxValues, name);
}

void CZRAuxNode::takeValue(std::size_t row, const CZRSimpleXmlNode& value) {
    kAuxValues[row].take(aux_->values(), value);
}

} // namespace Kor3
