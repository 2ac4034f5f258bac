// The nodes of the VVoice table of a KOR3 document.
#pragma once

#include "formats/kor3/ReaderNode.h"
#include "model/VVoice.h"

namespace Kor3 {

/// The VVoice table: each vVoice adds one VVoice to the sequence's list, sorted at the end.
class CZRVVoiceTableNode : public AZRKor3Node {
public:
    CZRVVoiceTableNode(AZRXmlParser* parser, AZRXmlNode* parent, const ZRXmlTag& tag,
                       CZRKorDocument* document, CZRNodeList* voices)
        : AZRKor3Node(parser, parent, tag, document), voices_(voices) {}

protected:
    bool startStructured(const ZRXmlTag& tag) override;
    CZRNodeList* voices() const { return voices_; }

private:
    std::span<const std::wstring_view> valueNames() const override { return {}; }
    void finish() override { sortList(voices_); }

    CZRNodeList* voices_;
};

/// One VVoice, built at the end from its bank select, program change, component ID, name and
/// the five voice parameters (found inside the vVoiceParam wrapper, which has no node).
class CZRVVoiceNode : public AZRKor3Node {
public:
    CZRVVoiceNode(AZRXmlParser* parser, AZRXmlNode* parent, const ZRXmlTag& tag,
                  CZRKorDocument* document, CZRNodeList* voices)
        : AZRKor3Node(parser, parent, tag, document), voices_(voices) {}

    /// The values collected so far; a parameter node of a derived format fills them too.
    ZRVVoiceValues& values() { return values_; }

private:
    std::span<const std::wstring_view> valueNames() const override;
    void takeValue(std::wstring_view name, const CZRSimpleXmlNode& value) override;
    void finish() override;

    CZRNodeList* voices_;
    ZRVVoiceValues values_;
};

} // namespace Kor3
