// The nodes of a prosody part of a KOR3 document and of its events.
#pragma once

#include "formats/kor3/EventNodes.h"
#include "model/ProsodyControl.h"
#include "model/ProsodyElement.h"
#include "model/ProsodyPart.h"
#include "model/ProsodyPhoneme.h"
#include "model/ProsodyVoice.h"

namespace Kor3 {

/// A prosody part, created at the first child with its voice, phoneme, pitch, dynamics and
/// control lists, and added to its track; the part values apply as they arrive. At the end its
/// event lists are sorted. Pitch points go to the first element list, dynamics to the second.
class CZRProsodyPartNode final : public AZRKor3Node {
public:
    CZRProsodyPartNode(AZRXmlParser* parser, AZRXmlNode* parent, CZRKorDocument* document,
                       CZRNodeList* parts)
        : AZRKor3Node(parser, parent, document)
        , parts_(parts) {}

    static constexpr std::size_t kPitchList = 0;
    static constexpr std::size_t kDynamicsList = 1;

private:
    bool begin() override;
    std::size_t findValue(std::u16string_view name) const override;
    bool startStructured(const ZRXmlStartTag& tag) override;
    void takeRowValue(std::size_t row, const CZRXmlValue& value) override;
    void finish() override;

    CZRNodeList* parts_;
    CZRProsodyPart* part_ = nullptr;
};

struct ProsodyVoiceTraits {
    using Object = CZRProsodyVoice;
    static constexpr TZRValueField<ZRProsodyVoiceValues> kValues[] = {
        {kPosSec, &ZRProsodyVoiceValues::posSec},
        {kVBS, &ZRProsodyVoiceValues::vBS},
        {kVPC, &ZRProsodyVoiceValues::vPC},
    };
};

struct ProsodyPitchTraits {
    using Object = CZRProsodyElement;
    static constexpr TZRValueField<ZRProsodyElementValues> kValues[] = {
        {kPosSec, &ZRProsodyElementValues::posSec},
        {kPchVal, &ZRProsodyElementValues::value},
    };
};

struct ProsodyDynamicsTraits {
    using Object = CZRProsodyElement;
    static constexpr TZRValueField<ZRProsodyElementValues> kValues[] = {
        {kPosSec, &ZRProsodyElementValues::posSec},
        {kDynVal, &ZRProsodyElementValues::value},
    };
};

struct ProsodyPhonemeTraits {
    using Object = CZRProsodyPhoneme;
    static constexpr TZRValueField<ZRProsodyPhonemeValues> kValues[] = {
        {kPosSec, &ZRProsodyPhonemeValues::posSec},
        {kDurSec, &ZRProsodyPhonemeValues::durSec},
        {kPhnmStr, &ZRProsodyPhonemeValues::phoneme},
    };
};

struct ProsodyControlTraits {
    using Object = CZRProsodyControl;
    using Part = CZRProsodyPart;
    static constexpr TZRValueField<ZRProsodyControlValues> kValues[] = {
        {kPosSec, &ZRProsodyControlValues::posSec},
        {kAttr, takeControlAttr<ZRProsodyControlValues>},
    };
};

using CZRProsodyVoiceNode = TZREventNode<ProsodyVoiceTraits>;
using CZRProsodyPitchNode = TZREventNode<ProsodyPitchTraits>;
using CZRProsodyDynamicsNode = TZREventNode<ProsodyDynamicsTraits>;
using CZRProsodyPhonemeNode = TZREventNode<ProsodyPhonemeTraits>;
using CZRProsodyControlNode = TZRControlNode<ProsodyControlTraits>;

} // namespace Kor3
