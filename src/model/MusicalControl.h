// A control event of a musical part, and the names of the control types.
#pragma once

#include "model/ValueObject.h"

#include <korman/ErrorCodes.h>
#include <korman/IZRMusicalControl.h>

#include <array>

/// Initial values of a musical control event.
struct ZRMusicalControlValues {
    std::int32_t posTick = 0;
    std::int32_t type = 0;
    std::int32_t value = 0;
};

/// A control event in the part's list for its type, ordered by tick. Only the position is
/// checked; a negative one cannot be repaired.
class CZRMusicalControl final
    : public TZRValueObject<CZRMusicalControl, IZRMusicalControl, ZRMusicalControlValues> {
public:
    static constexpr ZRObjType kType = ZRObjType::MusicalControl;

    static constexpr std::array kRules{
        kor::numberRule(&ZRMusicalControlValues::posTick, 0, kor::kNoLimit,
                        ZR_E_INVALID_MUSICAL_CONTROL_POSITION, kor::Repair::Fail),
    };

    using TZRValueObject::TZRValueObject;

    std::int32_t getPosTick() const override { return values().posTick; }
    std::int32_t getType() const override { return values().type; }
    std::int32_t getValue() const override { return values().value; }
    std::int32_t getSortKey() const override { return values().posTick; }

private:
    friend class TZRObject<CZRMusicalControl, IZRMusicalControl>;

    void dumpFields(std::wstring& out) const;
};

namespace kor {

/// The number of musical control types: 0 "DYN" to 6 "PBS".
inline constexpr std::int32_t kMusicalControlTypes = 7;
/// The types a MIDI file carries: dynamics, pitch bend and bend sensitivity.
inline constexpr std::int32_t kControlDynamics = 0;
inline constexpr std::int32_t kControlPitchBend = 5;
inline constexpr std::int32_t kControlBendSensitivity = 6;

/// The type of the full name ("DYN", "BRE", "BRI", "CLE", "GEN", "PIT", "PBS"; case matters), or
/// -1 for any other text and for null.
std::int32_t musicalControlTypeOfName(const wchar_t* name);
/// The type of the one-letter name ("D", "B", "R", "C", "G", "P", "S"), or -1.
std::int32_t musicalControlTypeOfShortName(const wchar_t* name);
/// The full name of `type`, or an empty text outside 0 to 6.
const wchar_t* musicalControlName(std::int32_t type);

} // namespace kor
