// The nodes of the VVoice table of a KOR3 document.
#pragma once

#include "formats/kor3/ReaderNode.h"
#include "model/VVoice.h"

namespace Kor3 {

/// The VVoice table: each vVoice adds one VVoice to the sequence's list, sorted at the end.
class CZRVVoiceTableNode : public AZRKor3Node {
public:
    CZRVVoiceTableNode(AZRXmlParser* parser, AZRXmlNode* parent, CZRKorDocument* document,
                       CZRNodeList* voices)
        : AZRKor3Node(parser, parent, document)
        , voices_(voices) {}

protected:
    bool startStructured(const ZRXmlStartTag& tag) override;
    CZRNodeList* voices() const { return voices_; }

private:
    void finish() override { sortList(voices_); }

    CZRNodeList* voices_;
};

/// Takes the voice parameter `Field` of a VVoice.
template <std::int32_t ZRVVoiceParam::*Field>
void takeVoiceParam(ZRVVoiceValues& values, const CZRXmlValue& value) {
    values.param.*Field = value.number();
}

struct VVoiceTraits {
    using Object = CZRVVoice;
    static constexpr TZRValueField<ZRVVoiceValues> kValues[] = {
        {kVBS, &ZRVVoiceValues::vBS},
        {kVPC, &ZRVVoiceValues::vPC},
        {kCompID, &ZRVVoiceValues::compID},
        {kVVoiceName, &ZRVVoiceValues::name},
        {kBre, takeVoiceParam<&ZRVVoiceParam::breathiness>},
        {kBri, takeVoiceParam<&ZRVVoiceParam::brightness>},
        {kCle, takeVoiceParam<&ZRVVoiceParam::clearness>},
        {kGen, takeVoiceParam<&ZRVVoiceParam::genderFactor>},
        {kOpe, takeVoiceParam<&ZRVVoiceParam::opening>},
    };
};

/// One VVoice, built at the end from its bank select, program change, component ID, name and
/// the five voice parameters (found inside the vVoiceParam wrapper, which has no node).
using CZRVVoiceNode = TZRBuiltNode<VVoiceTraits>;

} // namespace Kor3
