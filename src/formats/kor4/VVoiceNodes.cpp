#include "formats/kor4/VVoiceNodes.h"

namespace Kor4 {

namespace {

constexpr Kor3::TZRValueField<ZRVVoiceParam> kParamValues[] = {
    {u"bre", &ZRVVoiceParam::breathiness}, {u"bri", &ZRVVoiceParam::brightness},
    {u"cle", &ZRVVoiceParam::clearness},   {u"gen", &ZRVVoiceParam::genderFactor},
    {u"ope", &ZRVVoiceParam::opening},
};

} // namespace

bool CZRVVoiceTableNode::startStructured(const ZRXmlStartTag& tag) {
    if (tag.name != u"vVoice") return false;
    startNodeChild<CZRVVoiceNode>(voices());
    return true;
}

bool CZRVVoiceNode::startStructured(const ZRXmlStartTag& tag) {
    if (tag.name != u"vPrm" && tag.name != u"vPrm2") return false;
    startNodeChild<CZRVVoiceParamNode>(this);
    return true;
}

std::size_t CZRVVoiceParamNode::findValue(std::u16string_view name) const {
    return Kor3::findRow(kParamValues, name);
}

void CZRVVoiceParamNode::takeRowValue(std::size_t row, const CZRXmlValue& value) {
    kParamValues[row].take(param_, value);
}

void CZRVVoiceParamNode::finish() {
    if (name() == u"vPrm") voice_->values().param = param_;
}

} // namespace Kor4
