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
    CZRProsodyPartNode(AZRXmlParser* parser, AZRXmlNode* parent, const ZRXmlTag& tag,
                       CZRKorDocument* document, CZRNodeList* parts)
        : AZRKor3Node(parser, parent, tag, document), parts_(parts) {}

    static constexpr std::size_t kPitchList = 0;
    static constexpr std::size_t kDynamicsList = 1;

private:
    bool begin() override;
    std::span<const std::wstring_view> valueNames() const override;
    bool startStructured(const ZRXmlTag& tag) override;
    void takeValue(std::wstring_view name, const CZRSimpleXmlNode& value) override;
    void finish() override;

    CZRNodeList* parts_;
    CZRProsodyPart* part_ = nullptr;
};

struct ProsodyVoiceTraits {
    using Object = CZRProsodyVoice;
    static constexpr std::wstring_view kNames[] = {L"posSec", L"vBS", L"vPC"};
    static void take(ZRProsodyVoiceValues& values, std::wstring_view name,
                     const CZRSimpleXmlNode& value) {
        (name == L"posSec" ? values.posSec : name == L"vBS" ? values.vBS : values.vPC) =
            value.number();
    }
};

struct ProsodyPitchTraits {
    using Object = CZRProsodyElement;
    static constexpr std::wstring_view kNames[] = {L"posSec", L"pchVal"};
    static void take(ZRProsodyElementValues& values, std::wstring_view name,
                     const CZRSimpleXmlNode& value) {
        (name == L"posSec" ? values.posSec : values.value) = value.number();
    }
};

struct ProsodyDynamicsTraits {
    using Object = CZRProsodyElement;
    static constexpr std::wstring_view kNames[] = {L"posSec", L"dynVal"};
    static void take(ZRProsodyElementValues& values, std::wstring_view name,
                     const CZRSimpleXmlNode& value) {
        ProsodyPitchTraits::take(values, name, value);
    }
};

struct ProsodyPhonemeTraits {
    using Object = CZRProsodyPhoneme;
    static constexpr std::wstring_view kNames[] = {L"posSec", L"durSec", L"phnmStr"};
    static void take(ZRProsodyPhonemeValues& values, std::wstring_view name,
                     const CZRSimpleXmlNode& value) {
        if (name == L"phnmStr")
            values.phoneme = value.text();
        else
            (name == L"posSec" ? values.posSec : values.durSec) = value.number();
    }
};

struct ProsodyControlTraits {
    using Object = CZRProsodyControl;
    using Part = CZRProsodyPart;
    static constexpr std::wstring_view kNames[] = {L"posSec", L"attr"};
    static std::int32_t& position(ZRProsodyControlValues& values) { return values.posSec; }
};

using CZRProsodyVoiceNode = TZREventNode<ProsodyVoiceTraits>;
using CZRProsodyPitchNode = TZREventNode<ProsodyPitchTraits>;
using CZRProsodyDynamicsNode = TZREventNode<ProsodyDynamicsTraits>;
using CZRProsodyPhonemeNode = TZREventNode<ProsodyPhonemeTraits>;
using CZRProsodyControlNode = TZRControlNode<ProsodyControlTraits>;

} // namespace Kor3
