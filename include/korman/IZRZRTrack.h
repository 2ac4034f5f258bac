// The read interface of a singing track.
#pragma once

#include <korman/IZRKorObject.h>
#include <korman/IZRNodeList.h>

#include <string>

/// A singing track: its number (0 to 15, unique in the sequence) and its musical and prosody
/// parts.
class KORMAN_API IZRZRTrack : public virtual IZRKorObject {
public:
    virtual std::int32_t getTrackNo() const = 0;
    virtual const std::wstring& getName() const = 0;
    virtual const std::wstring& getComment() const = 0;
    /// The parts (borrowed), or null.
    virtual IZRNodeList* getPartList() const = 0;
};
