// The read interface of a control event of a prosody part.
#pragma once

#include <korman/IZRKorObject.h>

/// A control value of type getType() from getPosSec() (16.16 seconds) on; the list that holds
/// the event is of that type.
class KORMAN_API IZRProsodyControl : public virtual IZRKorObject {
public:
    virtual std::int32_t getPosSec() const = 0;
    virtual std::int32_t getType() const = 0;
    virtual std::int32_t getValue() const = 0;
};
