// The read interface of the master track: song name, time resolution, pre-measures, time axis.
#pragma once

#include <korman/IZRKorObject.h>
#include <korman/IZRNodeList.h>

#include <string>

/// The song's name and comment, its time resolution and pre-measure count, and the lists of time
/// signatures (by measure) and tempos (by tick) that define its time axis.
class KORMAN_API IZRMasterTrack : public virtual IZRKorObject {
public:
    /// The song's name. The reference is valid while the master track lives and changes with it.
    virtual const std::wstring& getSeqName() const = 0;
    /// A free comment on the song. The reference is valid while the master track lives.
    virtual const std::wstring& getComment() const = 0;
    /// Ticks per quarter note; 480 in a valid document.
    virtual std::int32_t getResolution() const = 0;
    /// Measures before the song proper, 1 to 8.
    virtual std::int32_t getPreMeasure() const = 0;
    /// The tick where the song proper begins: measureToTick(getPreMeasure()).
    virtual std::int32_t getPreMeasureTick() const = 0;
    /// The tick where `measure` starts under the time signatures; 0 for a measure below 1, for a
    /// missing or empty signature list, or when the first signature is not at measure 0.
    virtual std::int32_t measureToTick(std::int32_t measure) const = 0;
    /// The time signatures (borrowed), or null.
    virtual IZRNodeList* getTimeSigList() const = 0;
    /// The tempos (borrowed), or null.
    virtual IZRNodeList* getTempoList() const = 0;
};
