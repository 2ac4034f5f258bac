// The read interface of a tempo change of the master track.
#pragma once

#include <korman/IZRKorObject.h>

/// A tempo that holds from tick getPosTick() until the next one.
class KORMAN_API IZRTempo : public virtual IZRKorObject {
public:
    /// The tick where the tempo starts, counted from the song's start (pre-measures included), at
    /// least 0; the head tempo stands at 0.
    virtual std::int32_t getPosTick() const = 0;
    /// Beats per minute times 100 (12000 is 120.00 BPM), 2000 to 30000.
    virtual std::int32_t getBPM() const = 0;
};
