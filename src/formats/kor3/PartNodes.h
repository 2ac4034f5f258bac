// The nodes of a musical part of a KOR3 document and of its events except notes.
#pragma once

#include "formats/kor3/EventNodes.h"
#include "model/MusicalControl.h"
#include "model/MusicalPart.h"
#include "model/MusicalSinger.h"
#include "model/PartStyleAttrib.h"
#include "model/StyleControl.h"
#include "model/StylePlugin.h"

namespace Kor3 {

/// Which of a musical part's two families of named style lists an event joins.
enum class StyleListKind { PhraseStyle, StyleControl };

/// Appends `event` to the part's list `id` of the family `kind`, first creating the list in
/// `context` and registering it under `id` when the part has none. False when that fails.
[[nodiscard]] bool addStyleEvent(const ZRCreateContext& context, CZRMusicalPart& part,
                                 StyleListKind kind, const std::wstring& id,
                                 CZRStyleControl* event);

/// A musical part, created at the first child with empty note, singer and control lists and
/// added to its track; the part values apply as they arrive. At the end every event list of the
/// part is sorted: notes, singers, the seven control lists and each phrase-style and
/// style-control list.
class CZRMusicalPartNode : public AZRKor3Node {
public:
    CZRMusicalPartNode(AZRXmlParser* parser, AZRXmlNode* parent, CZRKorDocument* document,
                       CZRNodeList* parts)
        : AZRKor3Node(parser, parent, document)
        , parts_(parts) {}

protected:
    bool startStructured(const ZRXmlStartTag& tag) override;
    CZRMusicalPart* part() const { return part_; }

private:
    bool begin() override;
    std::size_t findValue(std::u16string_view name) const override;
    void takeRowValue(std::size_t row, const CZRXmlValue& value) override;
    void finish() override;

    CZRNodeList* parts_;
    CZRMusicalPart* part_ = nullptr;
};

/// The part's style plug-in (created with the element when the part has none): its ID, name and
/// version as they arrive.
class CZRStylePluginNode final : public AZRKor3Node {
public:
    CZRStylePluginNode(AZRXmlParser* parser, AZRXmlNode* parent, CZRKorDocument* document,
                       CZRStylePlugin* plugin)
        : AZRKor3Node(parser, parent, document)
        , plugin_(plugin) {}

private:
    std::size_t findValue(std::u16string_view name) const override;
    void takeRowValue(std::size_t row, const CZRXmlValue& value) override;

    CZRStylePlugin* plugin_;
};

/// The part style (created with the element when the part has none): each attr stores its
/// value under its id.
class CZRPartStyleNode final : public AZRKor3Node {
public:
    CZRPartStyleNode(AZRXmlParser* parser, AZRXmlNode* parent, CZRKorDocument* document,
                     CZRPartStyleAttrib* style)
        : AZRKor3Node(parser, parent, document)
        , style_(style) {}

private:
    std::size_t findValue(std::u16string_view name) const override;
    void takeRowValue(std::size_t row, const CZRXmlValue& value) override;

    CZRPartStyleAttrib* style_;
};

/// A phrase-style event (phraseStyle) or a style-control event (sCtrl), created at the first
/// child: posTick sets its position, its attr its attribute name and value (a later attr wins).
/// At the end it joins the part's phrase-style or style-control list of that name, which is
/// created and registered in the part when the part has none yet.
class CZRStyleControlNode final : public AZRKor3Node {
public:
    using Kind = StyleListKind;

    CZRStyleControlNode(AZRXmlParser* parser, AZRXmlNode* parent, CZRKorDocument* document,
                        CZRMusicalPart* part, Kind kind)
        : AZRKor3Node(parser, parent, document)
        , part_(part)
        , kind_(kind) {}

private:
    bool begin() override;
    std::size_t findValue(std::u16string_view name) const override;
    void takeRowValue(std::size_t row, const CZRXmlValue& value) override;
    void finish() override;

    CZRMusicalPart* part_;
    Kind kind_;
    CZRStyleControl* event_ = nullptr;
};

struct MusicalSingerTraits {
    using Object = CZRMusicalSinger;
    static constexpr TZRValueField<ZRMusicalSingerValues> kValues[] = {
        {kPosTick, &ZRMusicalSingerValues::posTick},
        {kVBS, &ZRMusicalSingerValues::vBS},
        {kVPC, &ZRMusicalSingerValues::vPC},
    };
};

/// A singer change of a musical part.
using CZRMusicalSingerNode = TZREventNode<MusicalSingerTraits>;

struct MusicalControlTraits {
    using Object = CZRMusicalControl;
    using Part = CZRMusicalPart;
    static constexpr TZRValueField<ZRMusicalControlValues> kValues[] = {
        {kPosTick, &ZRMusicalControlValues::posTick},
        {kAttr, takeControlAttr<ZRMusicalControlValues>},
    };
};

/// A musical control point (mCtrl).
using CZRMusicalControlNode = TZRControlNode<MusicalControlTraits>;

} // namespace Kor3
