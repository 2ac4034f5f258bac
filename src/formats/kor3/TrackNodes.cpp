#include "formats/kor3/TrackNodes.h"

#include "formats/kor3/PartNodes.h"
#include "formats/kor3/ProsodyNodes.h"

namespace Kor3 {

bool takePartValue(CZRPart& part, std::wstring_view name, const CZRSimpleXmlNode& value) {
    if (name == L"posTick")
        part.setPosTick(value.number());
    else if (name == L"playTime")
        part.setPlayTime(value.number());
    else if (name == L"partName")
        part.setName(value.text());
    else if (name == L"comment")
        part.setComment(value.text());
    else
        return false;
    return true;
}

bool CZRZRTrackNode::begin() {
    track_ = create<CZRZRTrack>();
    CZRNodeList* parts = track_ != nullptr ? createList(ZRObjType::Part) : nullptr;
    if (parts == nullptr || !check(track_->setPartList(parts))) return false;
    append(tracks_, track_);
    return true;
}

std::span<const std::wstring_view> CZRZRTrackNode::valueNames() const {
    static constexpr std::wstring_view kNames[] = {L"zrTrackNo", L"trackName", L"comment"};
    return kNames;
}

bool CZRZRTrackNode::startStructured(const ZRXmlTag& tag) {
    if (tag.name == L"musicalPart")
        startNodeChild<CZRMusicalPartNode>(tag, track_->partList());
    else if (tag.name == L"prosodyPart")
        startNodeChild<CZRProsodyPartNode>(tag, track_->partList());
    else
        return false;
    return true;
}

void CZRZRTrackNode::takeValue(std::wstring_view name, const CZRSimpleXmlNode& value) {
    if (name == L"zrTrackNo")
        track_->setTrackNo(value.number());
    else if (name == L"trackName")
        track_->setName(value.text());
    else
        track_->setComment(value.text());
}

bool CZRWAVTrackNode::startStructured(const ZRXmlTag& tag) {
    if (tag.name != L"wavPart") return false;
    startNodeChild<CZRWAVPartNode>(tag, track_->wavPartList());
    return true;
}

bool CZRWAVPartNode::begin() {
    part_ = create<CZRWAVPart>();
    if (part_ == nullptr) return false;
    append(parts_, part_);
    return true;
}

std::span<const std::wstring_view> CZRWAVPartNode::valueNames() const {
    static constexpr std::wstring_view kNames[] = {
        L"posTick",    L"playTime",   L"partName", L"comment",
        L"sampleRate", L"sampleReso", L"channels", L"filePath"};
    return kNames;
}

void CZRWAVPartNode::takeValue(std::wstring_view name, const CZRSimpleXmlNode& value) {
    if (takePartValue(part_->part(), name, value)) return;
    if (name == L"filePath")
        part_->setFilePath(value.text());
    else if (name == L"sampleRate")
        part_->setSampleRate(value.number());
    else if (name == L"sampleReso")
        part_->setSampleReso(value.number());
    else
        part_->setChannels(value.number());
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

std::span<const std::wstring_view> CZRAuxNode::valueNames() const {
    static constexpr std::wstring_view kNames[] = {L"auxID", L"content"};
    return kNames;
}

void CZRAuxNode::takeValue(std::wstring_view name, const CZRSimpleXmlNode& value) {
    (name == L"auxID" ? aux_->values().id : aux_->values().content) = value.text();
}

} // namespace Kor3
