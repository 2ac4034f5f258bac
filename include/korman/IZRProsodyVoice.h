// The read interface of a voice change of a prosody part.
#pragma once

#include <korman/IZRKorObject.h>

/// From getPosSec() (16.16 seconds) on, the part speaks with the VVoice (bank select, program
/// change), resolved against the sequence's VVoice table as a musical singer is.
class KORMAN_API IZRProsodyVoice : public virtual IZRKorObject {
public:
    /// The position in seconds (16.16 fixed point) relative to the part's start, at least 0.
    virtual std::int32_t getPosSec() const = 0;
    /// The VVoice's bank select, 0 to 127, after resolution.
    virtual std::int32_t getVBS() const = 0;
    /// The VVoice's program change, 0 to 127, after resolution.
    virtual std::int32_t getVPC() const = 0;
};
