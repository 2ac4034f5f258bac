// The read interface of the mixer of a sequence.
#pragma once

#include <korman/IZRKorObject.h>
#include <korman/IZRNodeList.h>

class IZRMasterUnit;
class IZRSEUnit;
class IZRKaraokeUnit;

/// The mixer: a master unit, one ZR unit per singing track (ordered by track number), the SE
/// unit of the sound-effect track and the karaoke unit of the backing track. Pointers are
/// borrowed and null when the child is missing.
class KORMAN_API IZRMixer : public virtual IZRKorObject {
public:
    /// The master output unit.
    virtual IZRMasterUnit* getMasterUnit() const = 0;
    /// The ZR units (list type 28), at most 16, ordered by track number.
    virtual IZRNodeList* getZRUnitList() const = 0;
    /// The channel of the sound-effect audio track.
    virtual IZRSEUnit* getSEUnit() const = 0;
    /// The channel of the backing (karaoke) audio track.
    virtual IZRKaraokeUnit* getKaraokeUnit() const = 0;
};
