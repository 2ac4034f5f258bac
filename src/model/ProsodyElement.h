// A point of a prosody curve.
#pragma once

#include "model/ValueObject.h"

#include <korman/ErrorCodes.h>
#include <korman/IZRProsodyElement.h>

#include <array>

/// Initial values of a prosody curve point.
struct ZRProsodyElementValues {
    std::int32_t posSec = 0;
    std::int32_t value = 0;
};

/// A point of one of the prosody part's two curves, ordered by its position in seconds. Only
/// the position is checked; a negative one cannot be repaired.
class CZRProsodyElement final
    : public TZRValueObject<CZRProsodyElement, IZRProsodyElement, ZRProsodyElementValues> {
public:
    static constexpr ZRObjType kType = ZRObjType::ProsodyElement;

    static constexpr std::array kRules{
        kor::numberRule(&ZRProsodyElementValues::posSec, 0, kor::kNoLimit,
                        ZR_E_INVALID_PROSODY_ELEMENT_POSITION, kor::Repair::Fail),
    };

    using TZRValueObject::TZRValueObject;

    std::int32_t getPosSec() const override { return values().posSec; }
    std::int32_t getValue() const override { return values().value; }
    std::int32_t getSortKey() const override { return values().posSec; }

private:
    friend class TZRObject<CZRProsodyElement, IZRProsodyElement>;

    void dumpFields(std::wstring& out) const;
};
