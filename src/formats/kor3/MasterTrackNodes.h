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
    CZRMasterTrackNode(AZRXmlParser* parser, AZRXmlNode* parent, CZRKorDocument* document,
                       CZRMasterTrack* master)
        : AZRKor3Node(parser, parent, document)
        , master_(master) {}

private:
    std::size_t findValue(std::u16string_view name) const override;
    bool startStructured(const ZRXmlStartTag& tag) override;
    void takeRowValue(std::size_t row, const CZRXmlValue& value) override;
    void finish() override;

    CZRMasterTrack* master_;
};

struct TimeSigTraits {
    using Object = CZRTimeSig;
    static constexpr TZRValueField<ZRTimeSigValues> kValues[] = {
        {kPosMes, &ZRTimeSigValues::posMes},
        {kNume, &ZRTimeSigValues::numerator},
        {kDenomi, &ZRTimeSigValues::denominator},
    };
};

struct TempoTraits {
    using Object = CZRTempo;
    static constexpr TZRValueField<ZRTempoValues> kValues[] = {
        {kPosTick, &ZRTempoValues::posTick},
        {kBpm, &ZRTempoValues::bpm},
    };
};

/// A time signature, built at the end from posMes, nume and denomi.
using CZRTimeSigNode = TZRBuiltNode<TimeSigTraits>;
/// A tempo, built at the end from posTick and bpm.
using CZRTempoNode = TZRBuiltNode<TempoTraits>;

} // namespace Kor3
