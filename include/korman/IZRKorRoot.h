// The read interface of the root of a song document.
#pragma once

#include <korman/IZRKorObject.h>

class IZRSequence;

/// The top of a document; never has a parent.
class KORMAN_API IZRKorRoot : public virtual IZRKorObject {
public:
    /// The sequence (borrowed), or null.
    virtual IZRSequence* getSequence() const = 0;
};
