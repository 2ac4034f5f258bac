// The read interface of a phoneme of a prosody part.
#pragma once

#include <korman/IZRKorObject.h>

#include <string>

/// A phoneme symbol (1 to 32 characters) placed in seconds (16.16 fixed point) relative to its
/// part, lasting at least 380 (about 5.8 milliseconds).
class KORMAN_API IZRProsodyPhoneme : public virtual IZRKorObject {
public:
    /// The position in seconds (16.16 fixed point) relative to the part's start, at least 0.
    virtual std::int32_t getPosSec() const = 0;
    /// The length in seconds (16.16 fixed point), at least 380.
    virtual std::int32_t getDurSec() const = 0;
    /// The phoneme symbol, 1 to 32 characters, in whatever alphabet the host uses. The reference
    /// is valid while the phoneme lives.
    virtual const std::wstring& getPhoneme() const = 0;
};
