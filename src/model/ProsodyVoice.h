// A voice change of a prosody part.
#pragma once

#include "model/VoiceEvent.h"

#include <korman/ErrorCodes.h>
#include <korman/IZRProsodyVoice.h>

#include <array>

/// Initial values of a prosody voice change.
struct ZRProsodyVoiceValues {
    std::int32_t posSec = 0;
    std::int32_t vBS = 0;
    std::int32_t vPC = 0;
};

/// A voice change in the prosody part's voice list, ordered by its position in seconds. The
/// repair refuses a negative position and leaves a voice out of range as it is.
class CZRProsodyVoice final
    : public TZRVoiceEvent<CZRProsodyVoice, IZRProsodyVoice, ZRProsodyVoiceValues> {
public:
    static constexpr ZRObjType kType = ZRObjType::ProsodyVoice;

    static constexpr std::array kRules{
        kor::numberRule(&ZRProsodyVoiceValues::posSec, 0, kor::kNoLimit,
                        ZR_E_INVALID_PROSODY_VOICE_POSITION, kor::Repair::Fail),
        kor::numberRule(&ZRProsodyVoiceValues::vBS, 0, 127, ZR_E_INVALID_PROSODY_VOICE_BANK_SELECT,
                        kor::Repair::Leave),
        kor::numberRule(&ZRProsodyVoiceValues::vPC, 0, 127,
                        ZR_E_INVALID_PROSODY_VOICE_PROGRAM_CHANGE, kor::Repair::Leave),
    };

    using TZRVoiceEvent::TZRVoiceEvent;

    std::int32_t getPosSec() const override { return values().posSec; }
    std::int32_t getSortKey() const override { return values().posSec; }

private:
    friend class TZRObject<CZRProsodyVoice, IZRProsodyVoice>;

    void dumpFields(std::wstring& out) const;
};
