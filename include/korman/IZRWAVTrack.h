// The read interface of an audio track.
#pragma once

#include <korman/IZRKorObject.h>
#include <korman/IZRNodeList.h>

/// An audio track (sound effects or backing) holding WAV parts.
class KORMAN_API IZRWAVTrack : public virtual IZRKorObject {
public:
    /// The WAV parts (borrowed), or null.
    virtual IZRNodeList* getWAVPartList() const = 0;
};
