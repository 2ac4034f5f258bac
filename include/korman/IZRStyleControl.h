// The read interface of a style control event of a musical part.
#pragma once

#include <korman/IZRKorObject.h>

#include <string>

/// A style value under an ID (1 to 256 characters) from getPosTick() on.
class KORMAN_API IZRStyleControl : public virtual IZRKorObject {
public:
    virtual std::int32_t getPosTick() const = 0;
    virtual const std::wstring& getID() const = 0;
    virtual std::int32_t getVal() const = 0;
};
