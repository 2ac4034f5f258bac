// The read interface of a singer change of a musical part.
#pragma once

#include <korman/IZRKorObject.h>

/// From getPosTick() on, the part is sung by the VVoice (bank select, program change). Reading
/// the voice resolves it against the sequence's VVoice table first: a pair the table does not
/// hold is replaced (and stored) by the first VVoice of the same bank select, else by the first
/// VVoice of the table. Outside a sequence, or with an empty table, the stored pair is returned.
class KORMAN_API IZRMusicalSinger : public virtual IZRKorObject {
public:
    /// The tick where the singer starts, relative to the part's start (at least 0).
    virtual std::int32_t getPosTick() const = 0;
    /// The VVoice's bank select, 0 to 127, after the resolution described above.
    virtual std::int32_t getVBS() const = 0;
    /// The VVoice's program change, 0 to 127, after the resolution described above.
    virtual std::int32_t getVPC() const = 0;
};
