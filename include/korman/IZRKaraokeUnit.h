// The read interface of the mixer unit of the backing (karaoke) track.
#pragma once

#include <korman/IZRKorObject.h>
#include <korman/IZRNodeList.h>

/// The channel of the backing audio track: input gain (-20 to 20), mute, solo and volume.
class KORMAN_API IZRKaraokeUnit : public virtual IZRKorObject {
public:
    /// The input gain, -20 to 20.
    virtual std::int32_t getInGain() const = 0;
    /// The mute switch: non-zero mutes the channel.
    virtual std::int32_t getMute() const = 0;
    /// The solo switch, 0 or 1.
    virtual std::int32_t getSolo() const = 0;
    /// The volume, -898 to 60.
    virtual std::int32_t getVol() const = 0;
    /// The insert effects (list type 26, at most 2), borrowed, or null.
    virtual IZRNodeList* getVstPluginList() const = 0;
};
