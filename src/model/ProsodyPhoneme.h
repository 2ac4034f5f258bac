// A phoneme of a prosody part.
#pragma once

#include "model/ValueObject.h"

#include <korman/ErrorCodes.h>
#include <korman/IZRProsodyPhoneme.h>

#include <array>
#include <string>

/// Initial values of a prosody phoneme.
struct ZRProsodyPhonemeValues {
    std::int32_t posSec = 0;
    std::int32_t durSec = 0;
    std::wstring phoneme;
};

/// A timed phoneme of the prosody part's phoneme list, ordered by its position in seconds. The
/// repair raises a short duration to the minimum and replaces a bad symbol by "a"; a negative
/// position cannot be repaired.
class CZRProsodyPhoneme final
    : public TZRValueObject<CZRProsodyPhoneme, IZRProsodyPhoneme, ZRProsodyPhonemeValues> {
public:
    static constexpr ZRObjType kType = ZRObjType::ProsodyPhoneme;
    /// The shortest phoneme: 380 / 65536 seconds, about 5.8 milliseconds.
    static constexpr std::int32_t kMinDurSec = 380;
    static constexpr std::int32_t kMaxPhonemeLength = 32;

    static constexpr std::array kRules{
        kor::numberRule(&ZRProsodyPhonemeValues::posSec, 0, kor::kNoLimit,
                        ZR_E_INVALID_PROSODY_PHONEME_POSITION, kor::Repair::Fail),
        kor::numberRule(&ZRProsodyPhonemeValues::durSec, kMinDurSec, kor::kNoLimit,
                        ZR_E_INVALID_PROSODY_PHONEME_DURATION, kor::Repair::Clamp),
        kor::textRule(&ZRProsodyPhonemeValues::phoneme, 1, kMaxPhonemeLength,
                      ZR_E_INVALID_PROSODY_PHONEME, kor::Repair::Reset, L"a"),
    };

    using TZRValueObject::TZRValueObject;

    std::int32_t getPosSec() const override { return values().posSec; }
    std::int32_t getDurSec() const override { return values().durSec; }
    const std::wstring& getPhoneme() const override { return values().phoneme; }
    std::int32_t getSortKey() const override { return values().posSec; }

private:
    friend class TZRObject<CZRProsodyPhoneme, IZRProsodyPhoneme>;

    void dumpFields(std::wstring& out) const;
};
