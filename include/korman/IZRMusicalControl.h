// The read interface of a control event of a musical part.
#pragma once

#include <korman/IZRKorObject.h>

/// A control value from getPosTick() on. getType() is the control type: 0 "DYN", 1 "BRE",
/// 2 "BRI", 3 "CLE", 4 "GEN", 5 "PIT", 6 "PBS"; the list that holds the event is of that type.
class KORMAN_API IZRMusicalControl : public virtual IZRKorObject {
public:
    virtual std::int32_t getPosTick() const = 0;
    virtual std::int32_t getType() const = 0;
    virtual std::int32_t getValue() const = 0;
};
