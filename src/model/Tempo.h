// The tempo object of the master track.
#pragma once

#include "model/ObjectBase.h"

#include <korman/IZRTempo.h>

/// Initial values of a tempo.
struct ZRTempoValues {
    std::int32_t posTick = 0;
    std::int32_t bpm = 0;
};

/// A tempo change, kept in the master track's list ordered by tick.
class CZRTempo final : public TZRObject<CZRTempo, IZRTempo> {
public:
    static constexpr ZRObjType kType = ZRObjType::Tempo;
    static constexpr std::int32_t kMinBPM = 2000;
    static constexpr std::int32_t kMaxBPM = 30000;

    explicit CZRTempo(std::uint32_t objID, const ZRTempoValues& values = {})
        : TZRObject(objID), values_(values) {}

    std::int32_t getPosTick() const override { return values_.posTick; }
    std::int32_t getBPM() const override { return values_.bpm; }

    void setPosTick(std::int32_t posTick) { values_.posTick = posTick; }
    void setBPM(std::int32_t bpm) { values_.bpm = bpm; }

    /// The value, then the position.
    std::uint32_t validate() const override;
    /// Clamps the value; a negative position is unrepairable.
    std::uint32_t correct(CZRObjectTable& table, const ZRCreateContext& context) override;
    std::int32_t getSortKey() const override { return values_.posTick; }

private:
    friend class TZRObject<CZRTempo, IZRTempo>;

    void copyValues(const CZRTempo& source) { values_ = source.values_; }
    void swapValues(CZRTempo& other) { std::swap(values_, other.values_); }
    void dumpFields(std::wstring& out) const;

    ZRTempoValues values_;
};
