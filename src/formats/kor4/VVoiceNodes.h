// The nodes of the VVoice table of a KOR4 document.
#pragma once

#include "formats/kor3/VVoiceNodes.h"

namespace Kor4 {

/// The VVoice table, whose VVoices are read by the KOR4 VVoice node.
class CZRVVoiceTableNode final : public Kor3::CZRVVoiceTableNode {
public:
    using Kor3::CZRVVoiceTableNode::CZRVVoiceTableNode;

private:
    bool startStructured(const ZRXmlStartTag& tag) override;
};

/// One VVoice: as in KOR3, with its parameters in the parameter set vPrm. A second set, vPrm2,
/// is read but not used.
class CZRVVoiceNode final : public Kor3::CZRVVoiceNode {
public:
    using Kor3::CZRVVoiceNode::CZRVVoiceNode;

private:
    bool startStructured(const ZRXmlStartTag& tag) override;
};

/// A set of the five voice parameters (vPrm or vPrm2; its vol is not used). At its end the
/// first set becomes the parameters of its VVoice (borrowed).
class CZRVVoiceParamNode final : public Kor3::AZRKor3Node {
public:
    CZRVVoiceParamNode(AZRXmlParser* parser, AZRXmlNode* parent, CZRKorDocument* document,
                       Kor3::CZRVVoiceNode* voice)
        : AZRKor3Node(parser, parent, document)
        , voice_(voice) {}

private:
    std::size_t findValue(std::u16string_view name) const override;
    void takeRowValue(std::size_t row, const CZRXmlValue& value) override;
    void finish() override;

    Kor3::CZRVVoiceNode* voice_;
    ZRVVoiceParam param_;
};

} // namespace Kor4
