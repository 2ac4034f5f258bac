// The read interface of the container of the host's aux records.
#pragma once

#include <korman/IZRKorObject.h>
#include <korman/IZRNodeList.h>

/// Holds the aux list of a sequence.
class KORMAN_API IZRUnManaged : public virtual IZRKorObject {
public:
    /// The aux records (list type 32) in the order they were added, borrowed, or null.
    virtual IZRNodeList* getAuxList() const = 0;
};
