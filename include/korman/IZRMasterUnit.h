// The read interface of the master unit of the mixer.
#pragma once

#include <korman/IZRKorObject.h>
#include <korman/IZRNodeList.h>

/// The master output: device, volume and send-return level (levels are -898 to 60, -898 being
/// silence), with two insert effects and one send-return effect.
class KORMAN_API IZRMasterUnit : public virtual IZRKorObject {
public:
    /// The output device ID; -1 when none is chosen.
    virtual std::int32_t getOutDev() const = 0;
    /// The master volume, -898 to 60.
    virtual std::int32_t getVol() const = 0;
    /// The send-return level, -898 to 60.
    virtual std::int32_t getSrRetLevel() const = 0;
    /// The insert effects (list type 26, at most 2), borrowed, or null.
    virtual IZRNodeList* getVstPluginList() const = 0;
    /// The send-return effect (list type 26, at most 1), borrowed, or null.
    virtual IZRNodeList* getVstPluginSrList() const = 0;
};
