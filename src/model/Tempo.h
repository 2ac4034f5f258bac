// The tempo object of the master track.
#pragma once

#include "model/ValueObject.h"

#include <korman/ErrorCodes.h>
#include <korman/IZRTempo.h>

#include <array>

/// Initial values of a tempo.
struct ZRTempoValues {
    std::int32_t posTick = 0;
    std::int32_t bpm = 0;
};

/// A tempo change, kept in the master track's list ordered by tick. The repair clamps the value
/// and refuses a negative position.
class CZRTempo final : public TZRValueObject<CZRTempo, IZRTempo, ZRTempoValues> {
public:
    static constexpr ZRObjType kType = ZRObjType::Tempo;
    static constexpr std::int32_t kMinBPM = 2000;
    static constexpr std::int32_t kMaxBPM = 30000;

    static constexpr std::array kRules{
        kor::numberRule(&ZRTempoValues::bpm, kMinBPM, kMaxBPM, ZR_E_INVALID_TEMPO_VALUE,
                        kor::Repair::Clamp),
        kor::numberRule(&ZRTempoValues::posTick, 0, kor::kNoLimit, ZR_E_INVALID_TEMPO_POSITION,
                        kor::Repair::Fail),
    };

    using TZRValueObject::TZRValueObject;

    std::int32_t getPosTick() const override { return values().posTick; }
    std::int32_t getBPM() const override { return values().bpm; }
    std::int32_t getSortKey() const override { return values().posTick; }

private:
    friend class TZRObject<CZRTempo, IZRTempo>;

    void dumpFields(std::wstring& out) const;
};
