// The nodes of the master track of a KOR3 document: song values, time signatures and tempos.
#pragma once

#include "formats/kor3/ReaderNode.h"
#include "model/MasterTrack.h"
#include "model/Tempo.h"
#include "model/TimeSig.h"

namespace Kor3 {

/// The sequence's master track: sets its values as they arrive; sorts the time signature and
/// tempo lists at the end.
class CZRMasterTrackNode final : public AZRKor3Node {
public:
    CZRMasterTrackNode(AZRXmlParser* parser, AZRXmlNode* parent, const ZRXmlTag& tag,
                       CZRKorDocument* document, CZRMasterTrack* master)
        : AZRKor3Node(parser, parent, tag, document), master_(master) {}

private:
    std::span<const std::wstring_view> valueNames() const override;
    bool startStructured(const ZRXmlTag& tag) override;
    void takeValue(std::wstring_view name, const CZRSimpleXmlNode& value) override;
    void finish() override;

    CZRMasterTrack* master_;
};

/// A time signature, built at the end from posMes, nume and denomi.
class CZRTimeSigNode final : public AZRKor3Node {
public:
    CZRTimeSigNode(AZRXmlParser* parser, AZRXmlNode* parent, const ZRXmlTag& tag,
                   CZRKorDocument* document, CZRNodeList* list)
        : AZRKor3Node(parser, parent, tag, document), list_(list) {}

private:
    std::span<const std::wstring_view> valueNames() const override;
    void takeValue(std::wstring_view name, const CZRSimpleXmlNode& value) override;
    void finish() override;

    CZRNodeList* list_;
    ZRTimeSigValues values_;
};

/// A tempo, built at the end from posTick and bpm.
class CZRTempoNode final : public AZRKor3Node {
public:
    CZRTempoNode(AZRXmlParser* parser, AZRXmlNode* parent, const ZRXmlTag& tag,
                 CZRKorDocument* document, CZRNodeList* list)
        : AZRKor3Node(parser, parent, tag, document), list_(list) {}

private:
    std::span<const std::wstring_view> valueNames() const override;
    void takeValue(std::wstring_view name, const CZRSimpleXmlNode& value) override;
    void finish() override;

    CZRNodeList* list_;
    ZRTempoValues values_;
};

} // namespace Kor3
