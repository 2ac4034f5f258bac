// The nodes of the ZR tracks and musical parts of a KOR4 document.
#pragma once

#include "formats/kor3/PartNodes.h"
#include "formats/kor3/TrackNodes.h"

namespace Kor4 {

/// A ZR track, whose parts are musical parts (zrPart) only.
class CZRZRTrackNode final : public Kor3::CZRZRTrackNode {
public:
    using Kor3::CZRZRTrackNode::CZRZRTrackNode;

private:
    bool startStructured(const ZRXmlStartTag& tag) override;
};

/// A musical part as in KOR3, whose controls come as cc elements.
class CZRMusicalPartNode final : public Kor3::CZRMusicalPartNode {
public:
    using Kor3::CZRMusicalPartNode::CZRMusicalPartNode;

private:
    bool startStructured(const ZRXmlStartTag& tag) override;
};

/// What a cc collects before it builds its event: its position and the kind and value of its
/// last usable v (kind -1: none yet).
struct ZRCcValues {
    std::int32_t posTick = 0;
    std::int32_t kind = -1;
    std::int32_t value = 0;
};

/// A cc of a musical part, built at its end from its position and its v, whose one-letter id
/// names the kind: "D", "B", "R", "C", "G", "P", "S" make a control of kind 0 to 6 in the part's
/// list of that kind; "T" makes a style-control event "POR" in the part's "POR" list (created
/// when missing). A v with another id is ignored; a cc without a usable v builds nothing.
class CZRMusicalControlNode final : public Kor3::AZRKor3Node {
public:
    CZRMusicalControlNode(AZRXmlParser* parser, AZRXmlNode* parent, CZRKorDocument* document,
                          CZRMusicalPart* part)
        : AZRKor3Node(parser, parent, document)
        , part_(part) {}

private:
    std::size_t findValue(std::u16string_view name) const override;
    void takeRowValue(std::size_t row, const CZRXmlValue& value) override;
    void finish() override;

    CZRMusicalPart* part_;
    ZRCcValues values_;
};

} // namespace Kor4
