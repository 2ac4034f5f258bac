// The read interface of the master track: song name, time resolution, pre-measures, time axis.
#pragma once

#include <korman/IZRKorObject.h>
#include <korman/IZRNodeList.h>
#include <korman/ZRMeasurePosition.h>

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

    // Time conversions. Ticks are absolute: counted from the start of the song, pre-measures
    // included (a part's position plus an event's position in the part). Seconds count from tick
    // 0 under the tempo list. Each returns 0 and writes its result, or returns an error code of
    // <korman/ErrorCodes.h> and leaves the result as it was:
    // - ZR_E_INVALID_PARAMETER: a negative input, a beat or tick outside the measure, or a result
    //   that does not fit (seconds beyond 32767 in 16.16, ticks beyond 2^31 - 1);
    // - ZR_E_INVALID_TIME_RESOLUTION: the resolution is not 480;
    // - ZR_E_INVALID_TEMPO_NUMBER: the tempo list is missing, empty or has no tempo at tick 0;
    // - ZR_E_INVALID_TIME_SIGNATURE_NUMBER: the time signature list is missing, empty or has no
    //   signature at measure 0.
    // They read the live lists, so they follow commits, undos and redos; like every read of the
    // song they must not run while another thread changes it.
    /// The time at `tick` in seconds, 16.16 fixed point (65536 is one second), cut toward zero.
    virtual std::uint32_t tickToSec(std::int32_t tick, std::int32_t& sec) const = 0;
    /// The tick at `sec` seconds (16.16 fixed point), rounded half away from zero.
    virtual std::uint32_t secToTick(std::int32_t sec, std::int32_t& tick) const = 0;
    /// The time at `tick` in seconds, unrounded.
    virtual std::uint32_t tickToSeconds(std::int32_t tick, double& seconds) const = 0;
    /// The tick at `seconds`, rounded half away from zero (a NaN is ZR_E_INVALID_PARAMETER).
    virtual std::uint32_t secondsToTick(double seconds, std::int32_t& tick) const = 0;
    /// The measure, beat and tick of `tick` under the time signatures.
    virtual std::uint32_t tickToPosition(std::int32_t tick, ZRMeasurePosition& position) const = 0;
    /// The tick of a measure, beat and tick; the beat must lie below the numerator of the time
    /// signature in effect at that measure and the tick below the beat's length.
    virtual std::uint32_t positionToTick(const ZRMeasurePosition& position,
                                         std::int32_t& tick) const = 0;
};
