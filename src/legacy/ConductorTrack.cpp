#include "legacy/ConductorTrack.h"

#include "legacy/MidiSequence.h"
#include "model/MasterTrack.h"
#include "model/NodeList.h"
#include "model/Tempo.h"
#include "model/TimeSig.h"

#include <algorithm>
#include <limits>
#include <new>
#include <optional>

namespace {

constexpr std::int32_t kResolution = 480;
constexpr std::int32_t kMinBpm = 2000;
constexpr std::int32_t kMaxBpm = 30000;

bool isTempo(const CxMidiEvent& event) {
    return event.isMeta() && event.data1 == kor::midi::kMetaTempo && event.length >= 3;
}

bool isSignature(const CxMidiEvent& event) {
    return event.isMeta() && event.data1 == kor::midi::kMetaTimeSignature && event.length >= 2;
}

std::uint32_t microseconds(const CxMidiEvent& event) {
    return std::uint32_t{event.data[0]} << 16 | std::uint32_t{event.data[1]} << 8 | event.data[2];
}

// The denominator a signature event's exponent stands for; 0 when it does not fit.
std::int32_t denominatorOf(std::uint8_t exponent) {
    return exponent < 31 ? std::int32_t{1} << exponent : 0;
}

} // namespace

namespace kor {

std::optional<std::int32_t> toResolution(std::uint64_t tick, std::uint16_t division) {
    constexpr std::uint64_t kLatest = kLatestImportTick;
    std::uint64_t scaled = tick;
    if (division != kResolution && division != 0 && (division & 0x8000) == 0) {
        // Beyond the latest tick at any division, and small enough for the product below.
        if (tick > kLatest * 0x7FFF) return std::nullopt;
        scaled = (tick * kResolution + division / 2) / division;
    }
    if (scaled > kLatest) return std::nullopt;
    return static_cast<std::int32_t>(scaled);
}

std::int32_t tempoFromMicroseconds(std::uint32_t micros) {
    if (micros == 0) return kMaxBpm;
    auto bpm = static_cast<std::int64_t>(6000000000.0 / micros + 0.5);
    if (bpm <= kMinBpm) return kMinBpm;
    return bpm >= kMaxBpm ? kMaxBpm : static_cast<std::int32_t>(bpm);
}

std::int32_t ticksPerMeasure(std::int32_t numerator, std::int32_t denominator,
                             std::int32_t division) {
    if (division <= 0 || numerator <= 0 || denominator <= 0) return 0;
    std::int64_t beat = division;
    if (denominator == 1)
        beat = 4 * division;
    else if (denominator < 4)
        beat = 2 * division;
    else
        for (std::int32_t value = 4; value < denominator && beat > 0; value *= 2)
            beat /= 2;
    std::int64_t measure = beat * numerator;
    if (division != kResolution) measure = measure * kResolution / division;
    return measure > std::numeric_limits<std::int32_t>::max() ? 0
                                                              : static_cast<std::int32_t>(measure);
}

bool readConductorTrack(CxMidiSequence& sequence, ConductorMap& map) {
    map = ConductorMap{};
    CxMidiTrack* track = sequence.track(0);
    if (track == nullptr) return false;
    const std::uint16_t division = sequence.header().division;
    std::optional<std::uint32_t> lastMicros;
    struct Last {
        std::uint8_t numerator;
        std::uint8_t exponent;
        std::int32_t tick;
        std::int32_t measure;
        std::int32_t length;
    };
    std::optional<Last> lastSignature;

    track->rewind();
    CxMidiEvent event;
    while (track->next(event)) {
        if (isTempo(event)) {
            std::uint32_t micros = microseconds(event);
            if (!lastMicros) {
                map.headBpm = tempoFromMicroseconds(micros);
            } else if (micros != *lastMicros) {
                const std::optional<std::int32_t> tick = toResolution(event.tick, division);
                if (!tick) continue;
                map.tempos.push_back({*tick, tempoFromMicroseconds(micros)});
            }
            lastMicros = micros;
        } else if (isSignature(event)) {
            const std::uint8_t numerator = event.data[0];
            const std::uint8_t exponent = event.data[1];
            const std::int32_t denominator = denominatorOf(exponent);
            if (!lastSignature) {
                // The head signature stands at measure 0, tick 0, wherever the event is.
                if (numerator != 0 && denominator != 0) {
                    map.headNumerator = numerator;
                    map.headDenominator = denominator;
                }
                lastSignature =
                    Last{numerator, exponent, 0, 0,
                         ticksPerMeasure(map.headNumerator, map.headDenominator, kResolution)};
                continue;
            }
            const std::optional<std::int32_t> tick = toResolution(event.tick, division);
            const bool same =
                numerator == lastSignature->numerator && exponent == lastSignature->exponent;
            if (!tick || same) continue;
            std::int64_t later = lastSignature->measure;
            if (lastSignature->length > 0)
                later += (*tick - lastSignature->tick) / lastSignature->length;
            const auto measure = static_cast<std::int32_t>(
                std::min<std::int64_t>(later, std::numeric_limits<std::int32_t>::max()));
            // A signature that cannot be a measure's keeps the previous one's length.
            std::int32_t length = ticksPerMeasure(numerator, denominator, kResolution);
            if (numerator != 0 && denominator != 0)
                map.signatures.push_back({measure, numerator, denominator});
            else
                length = lastSignature->length;
            lastSignature = Last{numerator, exponent, *tick, measure, length};
        }
    }
    return track->status() == CxMidiStatus::EndOfTrack;
}

namespace {

// Appends an event made from `values` to `list`, or gives the last event its values when it
// stands at the same position.
template <class Event, class Values>
bool place(CZRNodeList& list, const ZRCreateContext& context, const Values& values,
           std::int32_t position) {
    if (list.getCount() > 0) {
        auto* last = static_cast<Event*>(list.elementAt(list.getCount() - 1));
        if (last->getSortKey() == position) {
            last->values() = values;
            return true;
        }
    }
    Event* event = kor::createObject<Event>(context, ZR_NO_OBJ_ID, values);
    if (event == nullptr) return false;
    if (list.append(event)) return true;
    context.registry.destroy(event->getObjID());
    return false;
}

} // namespace

bool applyConductorMap(const ConductorMap& map, CZRMasterTrack& master,
                       const ZRCreateContext& context, bool measuresInFront) {
    CZRNodeList* signatures = master.timeSigList();
    CZRNodeList* tempos = master.tempoList();
    if (signatures == nullptr || tempos == nullptr) return false;
    bool ok = place<CZRTimeSig>(*signatures, context,
                                ZRTimeSigValues{0, map.headNumerator, map.headDenominator}, 0);
    for (const ConductorMap::Signature& change : map.signatures) {
        // Placed at no measure of its own, the first change at measure 0 cannot replace the head.
        const bool besideHead =
            measuresInFront && change.measure == 0 && signatures->getCount() == 1;
        ok = ok && place<CZRTimeSig>(
                       *signatures, context,
                       ZRTimeSigValues{change.measure, change.numerator, change.denominator},
                       besideHead ? -1 : change.measure);
    }
    ok = ok && place<CZRTempo>(*tempos, context, ZRTempoValues{0, map.headBpm}, 0);
    for (const ConductorMap::Tempo& change : map.tempos)
        ok = ok &&
             place<CZRTempo>(*tempos, context, ZRTempoValues{change.tick, change.bpm}, change.tick);
    return ok;
}

bool convertConductorTrack(CxMidiSequence& sequence, CZRMasterTrack& master,
                           const ZRCreateContext& context, bool measuresInFront) {
    ConductorMap map;
    return readConductorTrack(sequence, map) &&
           applyConductorMap(map, master, context, measuresInFront);
}

} // namespace kor
