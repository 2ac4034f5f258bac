// The read interface of a control event of a musical part.
#pragma once

#include <korman/IZRKorObject.h>

/// A control value from getPosTick() on. getType() is the control type: 0 "DYN", 1 "BRE",
/// 2 "BRI", 3 "CLE", 4 "GEN", 5 "PIT", 6 "PBS"; the list that holds the event is of that type.
class KORMAN_API IZRMusicalControl : public virtual IZRKorObject {
public:
    /// The tick where the value starts, relative to the part's start (at least 0).
    virtual std::int32_t getPosTick() const = 0;
    /// The control type, 0 to 6, as listed above.
    virtual std::int32_t getType() const = 0;
    /// The value, stored as given: the library checks no range (the MIDI import gives DYN 0 to
    /// 127, PIT -8192 to 8191 and PBS 0 to 24, as the MIDI events carry them).
    virtual std::int32_t getValue() const = 0;
};
