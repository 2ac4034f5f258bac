// A control event of a prosody part.
#pragma once

#include "model/ValueObject.h"

#include <korman/ErrorCodes.h>
#include <korman/IZRProsodyControl.h>

#include <array>

/// Initial values of a prosody control event.
struct ZRProsodyControlValues {
    std::int32_t posSec = 0;
    std::int32_t type = 0;
    std::int32_t value = 0;
};

/// A control event in the prosody part's list for its type, ordered by its position in
/// seconds. Only the position is checked; a negative one cannot be repaired.
class CZRProsodyControl final
    : public TZRValueObject<CZRProsodyControl, IZRProsodyControl, ZRProsodyControlValues> {
public:
    static constexpr ZRObjType kType = ZRObjType::ProsodyControl;

    static constexpr std::array kRules{
        kor::numberRule(&ZRProsodyControlValues::posSec, 0, kor::kNoLimit,
                        ZR_E_INVALID_PROSODY_CONTROL_POSITION, kor::Repair::Fail),
    };

    using TZRValueObject::TZRValueObject;

    std::int32_t getPosSec() const override { return values().posSec; }
    std::int32_t getType() const override { return values().type; }
    std::int32_t getValue() const override { return values().value; }
    std::int32_t getSortKey() const override { return values().posSec; }

private:
    friend class TZRObject<CZRProsodyControl, IZRProsodyControl>;

    void dumpFields(std::wstring& out) const;
};
