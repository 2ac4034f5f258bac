#include "formats/kor3/VVoiceNodes.h"

namespace Kor3 {

bool CZRVVoiceTableNode::startStructured(const ZRXmlTag& tag) {
    if (tag.name != L"vVoice") return false;
    startNodeChild<CZRVVoiceNode>(tag, voices_);
    return true;
}

std::span<const std::wstring_view> CZRVVoiceNode::valueNames() const {
    static constexpr std::wstring_view kNames[] = {L"vBS", L"vPC", L"compID", L"vVoiceName", L"bre",
                                                   L"bri", L"cle", L"gen",    L"ope"};
    return kNames;
}

void CZRVVoiceNode::takeValue(std::wstring_view name, const CZRSimpleXmlNode& value) {
    if (name == L"compID")
        values_.compID = value.text();
    else if (name == L"vVoiceName")
        values_.name = value.text();
    else if (name == L"vBS")
        values_.vBS = value.number();
    else if (name == L"vPC")
        values_.vPC = value.number();
    else if (name == L"bre")
        values_.param.breathiness = value.number();
    else if (name == L"bri")
        values_.param.brightness = value.number();
    else if (name == L"cle")
        values_.param.clearness = value.number();
    else if (name == L"gen")
        values_.param.genderFactor = value.number();
    else
        values_.param.opening = value.number();
}

void CZRVVoiceNode::finish() {
    if (CZRVVoice* voice = create<CZRVVoice>(values_)) append(voices_, voice);
}

} // namespace Kor3
