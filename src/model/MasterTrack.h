// The master track: song name, resolution, pre-measures, and the time axis built from its time
// signatures and tempos.
#pragma once

#include "model/NodeList.h"
#include "model/ObjectBase.h"
#include "platform/XmlChars.h"

#include <korman/IZRMasterTrack.h>

#include <optional>
#include <string>
#include <vector>

class CZRTimeSig;

/// Initial values of a master track.
struct ZRMasterTrackValues {
    std::wstring seqName;
    std::wstring comment;
    std::int32_t resolution = 0;
    std::int32_t preMeasure = 0;
};

/// The master track of a sequence. Holds its time signature list (list type 2) and tempo list
/// (list type 3) as child fields. The time conversions answer std::nullopt when the track cannot
/// convert (resolution not 480, no tempo at tick 0, negative input, result out of range). The
/// track keeps the tempo map it last built for them, so conversions must not run on one track
/// from two threads at once.
class CZRMasterTrack final : public TZRObject<CZRMasterTrack, IZRMasterTrack> {
public:
    static constexpr ZRObjType kType = ZRObjType::MasterTrack;
    static constexpr std::int32_t kResolution = 480;

    explicit CZRMasterTrack(std::uint32_t objID, ZRMasterTrackValues values = {})
        : TZRObject(objID)
        , values_(std::move(values)) {}

    const std::wstring& getSeqName() const override { return values_.seqName; }
    const std::wstring& getComment() const override { return values_.comment; }
    std::int32_t getResolution() const override { return values_.resolution; }
    std::int32_t getPreMeasure() const override { return values_.preMeasure; }
    std::int32_t getPreMeasureTick() const override { return measureToTick(values_.preMeasure); }
    std::int32_t measureToTick(std::int32_t measure) const override;
    IZRNodeList* getTimeSigList() const override { return timeSigs_; }
    IZRNodeList* getTempoList() const override { return tempos_; }

    CZRNodeList* timeSigList() const { return timeSigs_; }
    CZRNodeList* tempoList() const { return tempos_; }

    void setSeqName(std::wstring name) {
        values_.seqName = kor::platform::storedText(std::move(name));
    }
    void setComment(std::wstring comment) {
        values_.comment = kor::platform::storedText(std::move(comment));
    }
    void setResolution(std::int32_t resolution) { values_.resolution = resolution; }
    void setPreMeasure(std::int32_t preMeasure) { values_.preMeasure = preMeasure; }
    [[nodiscard]] bool setTimeSigList(CZRNodeList* list);
    [[nodiscard]] bool setTempoList(CZRNodeList* list);

    std::uint32_t tickToSec(std::int32_t tick, std::int32_t& sec) const override;
    std::uint32_t secToTick(std::int32_t sec, std::int32_t& tick) const override;
    std::uint32_t tickToSeconds(std::int32_t tick, double& seconds) const override;
    std::uint32_t secondsToTick(double seconds, std::int32_t& tick) const override;
    std::uint32_t tickToPosition(std::int32_t tick, ZRMeasurePosition& position) const override;
    std::uint32_t positionToTick(const ZRMeasurePosition& position,
                                 std::int32_t& tick) const override;

    /// Seconds (16.16 fixed point) at `tick`.
    std::optional<std::int32_t> tickToSec(std::int32_t tick) const;
    /// The tick at `sec` (16.16 fixed point), rounded half away from zero.
    std::optional<std::int32_t> secToTick(std::int32_t sec) const;

    std::uint32_t validate() const override;
    /// Resets resolution and pre-measure, drops repeated or negative signatures and tempos,
    /// creates missing lists and head events, and moves the head events to 0.
    std::uint32_t correct(CZRObjectTable& table, const ZRCreateContext& context) override;

private:
    friend class TZRObject<CZRMasterTrack, IZRMasterTrack>;

    /// One piece of the tempo map: from `tick` (at `sec` seconds) on, `bpm` hundredths of a beat
    /// per minute.
    struct Segment {
        std::int32_t tick;
        std::int32_t bpm;
        double sec;
    };
    /// The tempo map of the tempo list as it is now; null when the track cannot convert.
    const std::vector<Segment>* tempoMap() const;
    /// True when the map kept in segments_ was built from the tempos as they are.
    bool tempoMapCurrent() const;
    /// Why tempoMap() is null: ZR_E_INVALID_TIME_RESOLUTION or ZR_E_INVALID_TEMPO_NUMBER.
    std::uint32_t tempoMapFault() const;
    /// Seconds at `tick` (at least 0) under `segments`.
    double secondsAt(const std::vector<Segment>& segments, std::int32_t tick) const;
    /// The unrounded tick at `sec` (at least 0) under `segments`.
    double ticksAt(const std::vector<Segment>& segments, double sec) const;
    /// The time signature in effect at `measure` (at least 0), with the measure and tick where it
    /// starts; nothing when the list is missing, empty or does not start at measure 0.
    struct SignatureSpan {
        const CZRTimeSig* sig;
        std::int64_t startMeasure;
        std::int64_t startTick;
    };
    template <class Stop> std::optional<SignatureSpan> signatureSpan(Stop stop) const;

    void copyValues(const CZRMasterTrack& source) { values_ = source.values_; }
    void swapValues(CZRMasterTrack& other) { std::swap(values_, other.values_); }
    bool copyChildren(const CZRMasterTrack& source, std::uint32_t copyFlags,
                      const ZRCreateContext& context);
    template <class Self> static auto childFields(Self& self) {
        return std::tie(self.timeSigs_, self.tempos_);
    }
    void dumpFields(std::wstring& out) const;

    ZRMasterTrackValues values_;
    CZRNodeList* timeSigs_ = nullptr;
    CZRNodeList* tempos_ = nullptr;
    // The tempo map as last built. Edits, undo, redo and repairs change tempos and relink the
    // list in place, so the map is never trusted: each use compares it with the tempos it came
    // from, which costs a pass over the integers and spares the building.
    mutable std::vector<Segment> segments_;
};

namespace kor {

/// The length in ticks of `durSec` seconds (16.16) counted from `startTick` under the tempos of
/// `master`; 0 when the end falls before the start. Null when `master` is null, an input is
/// negative, or either conversion fails.
std::optional<std::int32_t> secDurationToTicks(const CZRMasterTrack* master, std::int32_t startTick,
                                               std::int32_t durSec);

} // namespace kor
