// The time signature object of the master track.
#pragma once

#include "model/ValueObject.h"

#include <korman/ErrorCodes.h>
#include <korman/IZRTimeSig.h>

#include <array>

/// Initial values of a time signature.
struct ZRTimeSigValues {
    std::int32_t posMes = 0;
    std::int32_t numerator = 0;
    std::int32_t denominator = 0;
};

/// A time signature, kept in the master track's list ordered by measure. The repair clamps the
/// numerator, refuses a negative position and sets a denominator that is not a power of two up
/// to 32 to 4.
class CZRTimeSig final : public TZRValueObject<CZRTimeSig, IZRTimeSig, ZRTimeSigValues> {
public:
    static constexpr ZRObjType kType = ZRObjType::TimeSig;

    static constexpr std::array kRules{
        kor::numberRule(&ZRTimeSigValues::numerator, 1, 255, ZR_E_INVALID_TIME_SIGNATURE_VALUE,
                        kor::Repair::Clamp),
        kor::numberRule(&ZRTimeSigValues::posMes, 0, kor::kNoLimit,
                        ZR_E_INVALID_TIME_SIGNATURE_POSITION, kor::Repair::Fail),
    };

    using TZRValueObject::TZRValueObject;

    std::int32_t getPosMes() const override { return values().posMes; }
    std::int32_t getNumerator() const override { return values().numerator; }
    std::int32_t getDenominator() const override { return values().denominator; }
    std::int32_t getSortKey() const override { return values().posMes; }

    /// The rules, then the denominator.
    std::uint32_t validate() const override;
    std::uint32_t correct(CZRObjectTable& table, const ZRCreateContext& context) override;

private:
    friend class TZRObject<CZRTimeSig, IZRTimeSig>;

    void dumpFields(std::wstring& out) const;
};
