// The read interface of the mixer unit of one singing track.
#pragma once

#include <korman/IZRKorObject.h>
#include <korman/IZRNodeList.h>

/// The channel of the singing track getTrackNo() (0 to 15). Gains are -20 to 20, levels and
/// volumes -898 to 60, pan 0 to 128 (64 the centre), switches 0 or 1.
class KORMAN_API IZRZRUnit : public virtual IZRKorObject {
public:
    /// The number of the singing track the channel belongs to, 0 to 15.
    virtual std::int32_t getTrackNo() const = 0;
    /// The input gain, -20 to 20.
    virtual std::int32_t getInGain() const = 0;
    /// The send level, -898 to 60.
    virtual std::int32_t getSendLevel() const = 0;
    /// The send switch: non-zero sends to the send-return effect.
    virtual std::int32_t getSendEnable() const = 0;
    /// The mute switch: non-zero mutes the channel.
    virtual std::int32_t getMute() const = 0;
    /// The solo switch, 0 or 1.
    virtual std::int32_t getSolo() const = 0;
    /// The pan, 0 to 128, 64 the centre.
    virtual std::int32_t getPan() const = 0;
    /// The volume, -898 to 60.
    virtual std::int32_t getVol() const = 0;
    /// The insert effects (list type 26, at most 2), borrowed, or null.
    virtual IZRNodeList* getVstPluginList() const = 0;
};
