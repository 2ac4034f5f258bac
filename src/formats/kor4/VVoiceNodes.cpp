#include "formats/kor4/VVoiceNodes.h"

namespace Kor4 {

namespace {

constexpr Kor3::TZRValueField<ZRVVoiceParam> kParamValues[] = {
    {L"bre", &ZRVVoiceParam::breathiness}, {L"bri", &ZRVVoiceParam::brightness},
    {L"cle", &ZRVVoiceParam::clearness},   {L"gen", &ZRVVoiceParam::genderFactor},
    {L"ope", &ZRVVoiceParam::opening},
};

} // namespace

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

std::size_t CZRVVoiceParamNode::findValue(std::wstring_view name) const {
    return Kor3::findRow(kParamValues, name);
}

void CZRVVoiceParamNode::takeValue(std::size_t row, const CZRSimpleXmlNode& value) {
    kParamValues[row].take(param_, value);
}

void CZRVVoiceParamNode::finish() {
    if (tag().name == L"vPrm") voice_->values().param = param_;
}

} // namespace Kor4
