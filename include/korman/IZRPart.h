// The read interface of the fields every part shares: position, play time, length, name.
#pragma once

#include <korman/IZRKorObject.h>

#include <string>

/// A part placed on the tick axis of a track.
class KORMAN_API IZRPart : public virtual IZRKorObject {
public:
    /// Start of the part in ticks (at least 0); the order of parts in their list.
    virtual std::int32_t getPosTick() const = 0;
    /// The play length (at least 60).
    virtual std::int32_t getPlayTime() const = 0;
    /// The content length in ticks, derived from the content when the edited mark is cleared.
    virtual std::int32_t getDurTick() const = 0;
    virtual const std::wstring& getName() const = 0;
    virtual const std::wstring& getComment() const = 0;
};
