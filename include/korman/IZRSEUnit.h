// The read interface of the mixer unit of the sound-effect track.
#pragma once

#include <korman/IZRKorObject.h>
#include <korman/IZRNodeList.h>

/// The channel of the sound-effect audio track; ranges as for a ZR unit.
class KORMAN_API IZRSEUnit : public virtual IZRKorObject {
public:
    virtual std::int32_t getInGain() const = 0;
    virtual std::int32_t getSendLevel() const = 0;
    virtual std::int32_t getSendEnable() const = 0;
    virtual std::int32_t getMute() const = 0;
    virtual std::int32_t getSolo() const = 0;
    virtual std::int32_t getPan() const = 0;
    virtual std::int32_t getVol() const = 0;
    /// The insert effects (list type 26, at most 2), borrowed, or null.
    virtual IZRNodeList* getVstPluginList() const = 0;
};
