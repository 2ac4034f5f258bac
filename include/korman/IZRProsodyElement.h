// The read interface of a point of a prosody curve.
#pragma once

#include <korman/IZRKorObject.h>

/// A curve value from getPosSec() (16.16 seconds) on.
class KORMAN_API IZRProsodyElement : public virtual IZRKorObject {
public:
    virtual std::int32_t getPosSec() const = 0;
    virtual std::int32_t getValue() const = 0;
};
