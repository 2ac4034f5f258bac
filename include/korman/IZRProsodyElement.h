// The read interface of a point of a prosody curve.
#pragma once

#include <korman/IZRKorObject.h>

/// A curve value from getPosSec() (16.16 seconds) on.
class KORMAN_API IZRProsodyElement : public virtual IZRKorObject {
public:
    /// The position in seconds (16.16 fixed point) relative to the part's start, at least 0.
    virtual std::int32_t getPosSec() const = 0;
    /// The curve value, stored as given; no range is checked.
    virtual std::int32_t getValue() const = 0;
};
