// The read interface of a time signature of the master track.
#pragma once

#include <korman/IZRKorObject.h>

/// A time signature that holds from measure getPosMes() until the next one.
class KORMAN_API IZRTimeSig : public virtual IZRKorObject {
public:
    /// The measure where the signature starts, counted from 0 including the pre-measures.
    virtual std::int32_t getPosMes() const = 0;
    /// Beats per measure, 1 to 255.
    virtual std::int32_t getNumerator() const = 0;
    /// The beat unit: 1, 2, 4, 8, 16 or 32.
    virtual std::int32_t getDenominator() const = 0;
};
