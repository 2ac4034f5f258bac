// The read interface of one point of a note's style curve.
#pragma once

#include <korman/IZRKorObject.h>

/// A curve point: its position over the note in 16.16 fixed point (0 the note's start, 65536
/// its end) and the curve value there.
class KORMAN_API IZRNoteStyleSeqAttribElement : public virtual IZRKorObject {
public:
    virtual std::int32_t getPosNrm() const = 0;
    virtual std::int32_t getElv() const = 0;
};
