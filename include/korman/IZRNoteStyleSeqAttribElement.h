// The read interface of one point of a note's style curve.
#pragma once

#include <korman/IZRKorObject.h>

/// A curve point: its position over the note in 16.16 fixed point (0 the note's start, 65536
/// its end) and the curve value there.
class KORMAN_API IZRNoteStyleSeqAttribElement : public virtual IZRKorObject {
public:
    /// The position over the note, 0 to 65536 (16.16 fixed point of the note's length).
    virtual std::int32_t getPosNrm() const = 0;
    /// The curve value at that point, stored as given.
    virtual std::int32_t getElv() const = 0;
};
