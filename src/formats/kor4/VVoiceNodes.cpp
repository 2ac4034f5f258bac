#include "formats/kor4/VVoiceNodes.h"

namespace Kor4 {

bool CZRVVoiceTableNode::startStructured(const ZRXmlTag& tag) {
    if (tag.name != L"vVoice") return false;
    startNodeChild<CZRVVoiceNode>(tag, voices());
    return true;
}

bool CZRVVoiceNode::startStructured(const ZRXmlTag& tag) {
    if (tag.name != L"vPrm" && tag.name != L"vPrm2") return false;
    startNodeChild<CZRVVoiceParamNode>(tag, this);
    return true;
}

std::span<const std::wstring_view> CZRVVoiceParamNode::valueNames() const {
    static constexpr std::wstring_view kNames[] = {L"bre", L"bri", L"cle", L"gen", L"ope"};
    return kNames;
}

void CZRVVoiceParamNode::takeValue(std::wstring_view name, const CZRSimpleXmlNode& value) {
    (name == L"bre"   ? param_.breathiness
     : name == L"bri" ? param_.brightness
     : name == L"cle" ? param_.clearness
     : name == L"gen" ? param_.genderFactor
                      : param_.opening) = value.number();
}

void CZRVVoiceParamNode::finish() {
    if (tag().name == L"vPrm") voice_->values().param = param_;
}

} // namespace Kor4
