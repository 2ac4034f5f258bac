// A singer change of a musical part.
#pragma once

#include "model/VoiceEvent.h"

#include <korman/ErrorCodes.h>
#include <korman/IZRMusicalSinger.h>

#include <array>

/// Initial values of a singer change.
struct ZRMusicalSingerValues {
    std::int32_t posTick = 0;
    std::int32_t vBS = 0;
    std::int32_t vPC = 0;
};

/// A singer change in the part's singer list, ordered by tick. The repair refuses a negative
/// position and leaves a voice out of range as it is.
class CZRMusicalSinger final
    : public TZRVoiceEvent<CZRMusicalSinger, IZRMusicalSinger, ZRMusicalSingerValues> {
public:
    static constexpr ZRObjType kType = ZRObjType::MusicalSinger;

    static constexpr std::array kRules{
        kor::numberRule(&ZRMusicalSingerValues::posTick, 0, kor::kNoLimit,
                        ZR_E_INVALID_SINGER_POSITION, kor::Repair::Fail),
        kor::numberRule(&ZRMusicalSingerValues::vBS, 0, 127, ZR_E_INVALID_SINGER_BANK_SELECT,
                        kor::Repair::Leave),
        kor::numberRule(&ZRMusicalSingerValues::vPC, 0, 127, ZR_E_INVALID_SINGER_PROGRAM_CHANGE,
                        kor::Repair::Leave),
    };

    using TZRVoiceEvent::TZRVoiceEvent;

    std::int32_t getPosTick() const override { return values().posTick; }
    std::int32_t getSortKey() const override { return values().posTick; }

private:
    friend class TZRObject<CZRMusicalSinger, IZRMusicalSinger>;

    void dumpFields(std::wstring& out) const;
};
