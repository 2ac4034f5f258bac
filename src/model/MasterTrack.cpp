#include "model/MasterTrack.h"

#include "model/ContainerOps.h"
#include "model/Tempo.h"
#include "model/TimeSig.h"

#include <korman/ErrorCodes.h>

#include <cmath>
#include <limits>

namespace {

constexpr double kFixedOne = 65536.0;

std::int64_t ticksPerMeasure(const CZRTimeSig& sig, std::int32_t resolution) {
    std::int64_t beat = static_cast<std::int64_t>(resolution) * 4;
    for (std::int64_t counter = 1; counter < sig.getDenominator(); counter *= 2)
        beat >>= 1;
    return beat * sig.getNumerator();
}

/// `value` as a 32-bit integer, or nothing when it does not fit (or is not a number).
std::optional<std::int32_t> toInt32(double value) {
    if (!(value > std::numeric_limits<std::int32_t>::min() - 1.0 &&
          value < std::numeric_limits<std::int32_t>::max() + 1.0))
        return std::nullopt;
    return static_cast<std::int32_t>(value);
}

/// Index of the segment that holds `at`: the last one starting at or before it.
template <class Segments, class Start>
std::size_t pickSegment(const Segments& segments, double at, Start start) {
    std::size_t i = 0;
    while (i < segments.size() && start(segments[i]) < at)
        ++i;
    if (i == segments.size()) return i - 1;
    if (start(segments[i]) > at && i > 0) --i;
    return i;
}

} // namespace

bool CZRMasterTrack::setTimeSigList(CZRNodeList* list) {
    return kor::setChildSlot(timeSigs_, list, this);
}

bool CZRMasterTrack::setTempoList(CZRNodeList* list) {
    return kor::setChildSlot(tempos_, list, this);
}

std::int32_t CZRMasterTrack::measureToTick(std::int32_t measure) const {
    if (measure < 1 || timeSigs_ == nullptr || timeSigs_->getCount() == 0) return 0;
    const auto* first = kor::objCast<CZRTimeSig>(timeSigs_->elementAt(0));
    if (first == nullptr || first->getPosMes() != 0) return 0;

    std::int64_t total = 0;
    std::int64_t boundary = 0;
    std::int64_t perMeasure = ticksPerMeasure(*first, values_.resolution);
    for (std::uint32_t i = 1; i < timeSigs_->getCount(); ++i) {
        const auto* sig = kor::objCast<CZRTimeSig>(timeSigs_->elementAt(i));
        if (sig == nullptr) continue;
        const std::int64_t b = std::min(sig->getPosMes(), measure);
        total += (b - boundary) * perMeasure;
        if (b == measure) return static_cast<std::int32_t>(total);
        perMeasure = ticksPerMeasure(*sig, values_.resolution);
        boundary = b;
    }
    if (boundary < measure) total += (measure - boundary) * perMeasure;
    return static_cast<std::int32_t>(total);
}

bool CZRMasterTrack::tempoMapCurrent() const {
    if (segments_.empty()) return false;
    std::size_t i = 0;
    for (const IZRMutableKorObject* element : tempos_->elements()) {
        const auto* tempo = kor::objCast<CZRTempo>(element);
        if (tempo == nullptr) continue;
        if (i == segments_.size() || segments_[i].tick != tempo->getPosTick() ||
            segments_[i].bpm != tempo->getBPM())
            return false;
        ++i;
    }
    return i == segments_.size();
}

const std::vector<CZRMasterTrack::Segment>* CZRMasterTrack::tempoMap() const {
    if (values_.resolution != kResolution || tempos_ == nullptr || tempos_->getCount() == 0)
        return nullptr;
    if (tempoMapCurrent()) return &segments_;
    segments_.clear();
    const double secPerBeatTick = 60.0 / values_.resolution;
    for (const IZRMutableKorObject* element : tempos_->elements()) {
        const auto* tempo = kor::objCast<CZRTempo>(element);
        if (tempo == nullptr) continue;
        if (segments_.empty()) {
            if (tempo->getPosTick() != 0) return nullptr;
            segments_.push_back({0, tempo->getBPM(), 0.0});
            continue;
        }
        const Segment& previous = segments_.back();
        const double sec = previous.sec + (tempo->getPosTick() - previous.tick) /
                                              (previous.bpm * 0.01) * secPerBeatTick;
        segments_.push_back({tempo->getPosTick(), tempo->getBPM(), sec});
    }
    return segments_.empty() ? nullptr : &segments_;
}

double CZRMasterTrack::secondsAt(const std::vector<Segment>& segments, std::int32_t tick) const {
    const Segment& seg =
        segments[pickSegment(segments, tick, [](const Segment& s) { return double(s.tick); })];
    return seg.sec + (tick - seg.tick) / (seg.bpm * 0.01) * (60.0 / values_.resolution);
}

double CZRMasterTrack::ticksAt(const std::vector<Segment>& segments, double sec) const {
    const Segment& seg =
        segments[pickSegment(segments, sec, [](const Segment& s) { return s.sec; })];
    return seg.tick + (sec - seg.sec) * (seg.bpm * 0.01) * (values_.resolution / 60.0);
}

std::optional<std::int32_t> CZRMasterTrack::tickToSec(std::int32_t tick) const {
    const std::vector<Segment>* segments = tick < 0 ? nullptr : tempoMap();
    if (segments == nullptr) return std::nullopt;
    return toInt32(secondsAt(*segments, tick) * kFixedOne);
}

std::optional<std::int32_t> CZRMasterTrack::secToTick(std::int32_t fixedSec) const {
    const double sec = fixedSec / kFixedOne;
    const std::vector<Segment>* segments = sec < 0 ? nullptr : tempoMap();
    if (segments == nullptr) return std::nullopt;
    const double ticks = ticksAt(*segments, sec);
    return toInt32(ticks >= 0 ? ticks + 0.5 : ticks - 0.5);
}

std::uint32_t CZRMasterTrack::tempoMapFault() const {
    return values_.resolution != kResolution ? ZR_E_INVALID_TIME_RESOLUTION
                                             : ZR_E_INVALID_TEMPO_NUMBER;
}

std::uint32_t CZRMasterTrack::tickToSeconds(std::int32_t tick, double& seconds) const {
    if (tick < 0) return ZR_E_INVALID_PARAMETER;
    const std::vector<Segment>* segments = tempoMap();
    if (segments == nullptr) return tempoMapFault();
    seconds = secondsAt(*segments, tick);
    return 0;
}

std::uint32_t CZRMasterTrack::tickToSec(std::int32_t tick, std::int32_t& sec) const {
    double seconds = 0;
    if (const std::uint32_t code = tickToSeconds(tick, seconds)) return code;
    const std::optional<std::int32_t> fixed = toInt32(seconds * kFixedOne);
    if (!fixed) return ZR_E_INVALID_PARAMETER;
    sec = *fixed;
    return 0;
}

std::uint32_t CZRMasterTrack::secondsToTick(double seconds, std::int32_t& tick) const {
    if (!(seconds >= 0)) return ZR_E_INVALID_PARAMETER;
    const std::vector<Segment>* segments = tempoMap();
    if (segments == nullptr) return tempoMapFault();
    const std::optional<std::int32_t> rounded = toInt32(ticksAt(*segments, seconds) + 0.5);
    if (!rounded) return ZR_E_INVALID_PARAMETER;
    tick = *rounded;
    return 0;
}

std::uint32_t CZRMasterTrack::secToTick(std::int32_t sec, std::int32_t& tick) const {
    return secondsToTick(sec / kFixedOne, tick);
}

// Walks the time signatures from measure 0 while `stop(measure, tick)` is false for the start of
// the next one; the last one entered is in effect there.
template <class Stop>
std::optional<CZRMasterTrack::SignatureSpan> CZRMasterTrack::signatureSpan(Stop stop) const {
    if (timeSigs_ == nullptr || timeSigs_->getCount() == 0) return std::nullopt;
    const auto* first = kor::objCast<CZRTimeSig>(timeSigs_->elementAt(0));
    if (first == nullptr || first->getPosMes() != 0) return std::nullopt;
    SignatureSpan span{first, 0, 0};
    for (std::uint32_t i = 1; i < timeSigs_->getCount(); ++i) {
        const auto* sig = kor::objCast<CZRTimeSig>(timeSigs_->elementAt(i));
        if (sig == nullptr) continue;
        const std::int64_t startTick =
            span.startTick +
            (sig->getPosMes() - span.startMeasure) * ticksPerMeasure(*span.sig, values_.resolution);
        if (stop(sig->getPosMes(), startTick)) break;
        span = {sig, sig->getPosMes(), startTick};
    }
    return span;
}

std::uint32_t CZRMasterTrack::tickToPosition(std::int32_t tick, ZRMeasurePosition& position) const {
    if (tick < 0) return ZR_E_INVALID_PARAMETER;
    if (values_.resolution != kResolution) return ZR_E_INVALID_TIME_RESOLUTION;
    const auto span =
        signatureSpan([tick](std::int64_t, std::int64_t startTick) { return startTick > tick; });
    if (!span) return ZR_E_INVALID_TIME_SIGNATURE_NUMBER;
    const std::int64_t perMeasure = ticksPerMeasure(*span->sig, values_.resolution);
    const std::int64_t perBeat = perMeasure / span->sig->getNumerator();
    const std::int64_t inSpan = tick - span->startTick;
    const std::int64_t inMeasure = inSpan % perMeasure;
    position = {static_cast<std::int32_t>(span->startMeasure + inSpan / perMeasure),
                static_cast<std::int32_t>(inMeasure / perBeat),
                static_cast<std::int32_t>(inMeasure % perBeat)};
    return 0;
}

std::uint32_t CZRMasterTrack::positionToTick(const ZRMeasurePosition& position,
                                             std::int32_t& tick) const {
    if (position.measure < 0) return ZR_E_INVALID_PARAMETER;
    if (values_.resolution != kResolution) return ZR_E_INVALID_TIME_RESOLUTION;
    const auto span = signatureSpan([&position](std::int64_t startMeasure, std::int64_t) {
        return startMeasure > position.measure;
    });
    if (!span) return ZR_E_INVALID_TIME_SIGNATURE_NUMBER;
    const std::int64_t perMeasure = ticksPerMeasure(*span->sig, values_.resolution);
    const std::int64_t perBeat = perMeasure / span->sig->getNumerator();
    if (position.beat < 0 || position.beat >= span->sig->getNumerator() || position.tick < 0 ||
        position.tick >= perBeat)
        return ZR_E_INVALID_PARAMETER;
    const std::int64_t result = span->startTick +
                                (position.measure - span->startMeasure) * perMeasure +
                                position.beat * perBeat + position.tick;
    if (result > std::numeric_limits<std::int32_t>::max()) return ZR_E_INVALID_PARAMETER;
    tick = static_cast<std::int32_t>(result);
    return 0;
}

std::uint32_t CZRMasterTrack::validate() const {
    if (values_.resolution != kResolution) return ZR_E_INVALID_TIME_RESOLUTION;
    if (values_.preMeasure < 1 || values_.preMeasure > 8) return ZR_E_INVALID_PRE_MEASURE;
    if (timeSigs_ == nullptr || timeSigs_->getCount() == 0)
        return ZR_E_INVALID_TIME_SIGNATURE_NUMBER;
    if (const std::uint32_t code = kor::checkOrderedList(
            timeSigs_, CZRTimeSig::kType, kor::KeyOrder::Increasing, -1,
            {ZR_E_TIME_SIGNATURE_IS_NULL, ZR_E_TIME_SIGNATURES_ARE_DUPLICATED}))
        return code;
    if (tempos_ == nullptr || tempos_->getCount() == 0) return ZR_E_INVALID_TEMPO_NUMBER;
    return kor::checkOrderedList(tempos_, CZRTempo::kType, kor::KeyOrder::Increasing, -1,
                                 {ZR_E_TEMPO_IS_NULL, ZR_E_TEMPOS_ARE_DUPLICATED});
}

std::uint32_t CZRMasterTrack::correct(CZRObjectTable& table, const ZRCreateContext& context) {
    std::uint32_t changed = 0;
    if (values_.resolution != kResolution) {
        values_.resolution = kResolution;
        changed = 1;
    }
    if (values_.preMeasure < 1 || values_.preMeasure > 8) {
        values_.preMeasure = 1;
        changed = 1;
    }
    kor::RepairResult result(changed);
    if (result.add(kor::repairHeadedList<CZRTimeSig>(
            timeSigs_, this,
            kor::headedListCodes(ZR_E_TIME_SIGNATURE_IS_NULL, ZR_E_TIME_SIGNATURES_ARE_DUPLICATED,
                                 ZR_E_INVALID_TIME_SIGNATURE_NUMBER),
            ZRTimeSigValues{0, 4, 4}, [](CZRTimeSig& sig) { sig.values().posMes = 0; }, table,
            context)))
        result.add(kor::repairHeadedList<CZRTempo>(
            tempos_, this,
            kor::headedListCodes(ZR_E_TEMPO_IS_NULL, ZR_E_TEMPOS_ARE_DUPLICATED,
                                 ZR_E_INVALID_TEMPO_NUMBER),
            ZRTempoValues{0, 12000}, [](CZRTempo& tempo) { tempo.values().posTick = 0; }, table,
            context));
    return result.value();
}

bool CZRMasterTrack::copyChildren(const CZRMasterTrack& source, std::uint32_t copyFlags,
                                  const ZRCreateContext& context) {
    return kor::copyChildSlot(timeSigs_, source.timeSigs_, this, copyFlags, context) &&
           kor::copyChildSlot(tempos_, source.tempos_, this, copyFlags, context);
}

void CZRMasterTrack::dumpFields(std::wstring& out) const {
    kor::appendFormat(out, L" seqName=%ls comment=%ls resolution=%d preMeasure=%d ",
                      values_.seqName.c_str(), values_.comment.c_str(), values_.resolution,
                      values_.preMeasure);
}

namespace kor {

std::optional<std::int32_t> secDurationToTicks(const CZRMasterTrack* master, std::int32_t startTick,
                                               std::int32_t durSec) {
    if (master == nullptr || startTick < 0 || durSec < 0) return std::nullopt;
    const std::optional<std::int32_t> startSec = master->tickToSec(startTick);
    if (!startSec) return std::nullopt;
    const std::int64_t endSec = std::int64_t{*startSec} + durSec;
    if (endSec > std::numeric_limits<std::int32_t>::max()) return std::nullopt;
    const std::optional<std::int32_t> endTick =
        master->secToTick(static_cast<std::int32_t>(endSec));
    if (!endTick) return std::nullopt;
    return std::max(*endTick - startTick, 0);
}

} // namespace kor
