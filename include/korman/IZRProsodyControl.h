// The read interface of a control event of a prosody part.
#pragma once

#include <korman/IZRKorObject.h>

/// A control value of type getType() from getPosSec() (16.16 seconds) on; the list that holds
/// the event is of that type.
class KORMAN_API IZRProsodyControl : public virtual IZRKorObject {
public:
    /// The position in seconds (16.16 fixed point) relative to the part's start, at least 0.
    virtual std::int32_t getPosSec() const = 0;
    /// The control type, 0 to 6, named as a musical control's (DYN, BRE, BRI, CLE, GEN, PIT, PBS).
    virtual std::int32_t getType() const = 0;
    /// The value, stored as given; no range is checked.
    virtual std::int32_t getValue() const = 0;
};
