// The time signature object of the master track.
#pragma once

#include "model/ObjectBase.h"

#include <korman/IZRTimeSig.h>

/// Initial values of a time signature.
struct ZRTimeSigValues {
    std::int32_t posMes = 0;
    std::int32_t numerator = 0;
    std::int32_t denominator = 0;
};

/// A time signature, kept in the master track's list ordered by measure.
class CZRTimeSig final : public TZRObject<CZRTimeSig, IZRTimeSig> {
public:
    static constexpr ZRObjType kType = ZRObjType::TimeSig;

    explicit CZRTimeSig(std::uint32_t objID, const ZRTimeSigValues& values = {})
        : TZRObject(objID), values_(values) {}

    std::int32_t getPosMes() const override { return values_.posMes; }
    std::int32_t getNumerator() const override { return values_.numerator; }
    std::int32_t getDenominator() const override { return values_.denominator; }

    void setPosMes(std::int32_t posMes) { values_.posMes = posMes; }
    void setNumerator(std::int32_t numerator) { values_.numerator = numerator; }
    void setDenominator(std::int32_t denominator) { values_.denominator = denominator; }

    /// Numerator, then position, then denominator.
    std::uint32_t validate() const override;
    /// Clamps the numerator, sets a bad denominator to 4; a negative position is unrepairable.
    std::uint32_t correct(CZRObjectTable& table, const ZRCreateContext& context) override;
    std::int32_t getSortKey() const override { return values_.posMes; }

private:
    friend class TZRObject<CZRTimeSig, IZRTimeSig>;

    void copyValues(const CZRTimeSig& source) { values_ = source.values_; }
    void swapValues(CZRTimeSig& other) { std::swap(values_, other.values_); }
    void dumpFields(std::wstring& out) const;

    ZRTimeSigValues values_;
};
