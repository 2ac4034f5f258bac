// The read interface of the fields every part shares: position, play time, length, name.
#pragma once

#include <korman/IZRKorObject.h>

#include <string>

/// A part placed on the tick axis of a track.
class KORMAN_API IZRPart : public virtual IZRKorObject {
public:
    /// Start of the part in ticks from the song's start (pre-measures included), at least 0; the
    /// order of parts in their list. The events of a musical part count their ticks from here.
    virtual std::int32_t getPosTick() const = 0;
    /// The play length in ticks (at least 60).
    virtual std::int32_t getPlayTime() const = 0;
    /// The content length in ticks, derived from the content when the edited mark is cleared.
    virtual std::int32_t getDurTick() const = 0;
    /// The part's name, as the host gave it. The reference is valid while the part lives.
    virtual const std::wstring& getName() const = 0;
    /// A free comment on the part. The reference is valid while the part lives.
    virtual const std::wstring& getComment() const = 0;
};
