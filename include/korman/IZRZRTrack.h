// The read interface of a singing track.
#pragma once

#include <korman/IZRKorObject.h>
#include <korman/IZRNodeList.h>

#include <string>

/// A singing track: its number (0 to 15, unique in the sequence) and its musical and prosody
/// parts.
class KORMAN_API IZRZRTrack : public virtual IZRKorObject {
public:
    /// The track number, 0 to 15, unique in the sequence; the order of the track list.
    virtual std::int32_t getTrackNo() const = 0;
    /// The track's name. The reference is valid while the track lives.
    virtual const std::wstring& getName() const = 0;
    /// A free comment on the track. The reference is valid while the track lives.
    virtual const std::wstring& getComment() const = 0;
    /// The parts (borrowed), or null.
    virtual IZRNodeList* getPartList() const = 0;
};
