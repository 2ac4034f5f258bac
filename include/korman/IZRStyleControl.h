// The read interface of a style control event of a musical part.
#pragma once

#include <korman/IZRKorObject.h>

#include <string>

/// A style value under an ID (1 to 256 characters) from getPosTick() on.
class KORMAN_API IZRStyleControl : public virtual IZRKorObject {
public:
    /// The tick where the value starts, relative to the part's start (at least 0).
    virtual std::int32_t getPosTick() const = 0;
    /// The style control's ID, 1 to 256 characters. The reference is valid while the control
    /// lives.
    virtual const std::wstring& getID() const = 0;
    /// The value, stored as given.
    virtual std::int32_t getVal() const = 0;
};
