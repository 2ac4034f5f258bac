// Reading the tempo map and the time signatures of a MIDI file's conductor track.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

class CxMidiSequence;
class CZRMasterTrack;
struct ZRCreateContext;

namespace kor {

/// The latest tick, at 480 ticks per quarter note, and the longest note an imported song holds.
/// Together they stay far inside the range of a song position, with room for the measures put in
/// front, so that no position or end computed from them can overflow.
inline constexpr std::int32_t kLatestImportTick = 1 << 29;

/// A tick of a file whose quarter note has `division` ticks, at 480 ticks per quarter note,
/// rounded half away from zero. Ticks of a file with a zero or SMPTE division are taken as they
/// are. None when the result lies beyond kLatestImportTick.
std::optional<std::int32_t> toResolution(std::uint64_t tick, std::uint16_t division);

/// Tempo in hundredths of beats per minute for a quarter note of `micros` microseconds, rounded
/// and kept within 2000..30000 (a zero length counts as the fastest tempo).
std::int32_t tempoFromMicroseconds(std::uint32_t micros);

/// Ticks of one measure of numerator/denominator at 480 ticks per quarter note, for a file whose
/// quarter note has `division` ticks: a whole note is four quarters, a half two, and from the
/// quarter on each halving of the note value halves the beat; the product with the numerator is
/// then scaled from `division` to 480. 0 for a zero division or a result beyond 32 bits.
std::int32_t ticksPerMeasure(std::int32_t numerator, std::int32_t denominator,
                             std::int32_t division);

/// What the conductor track says about time: the head tempo and signature, then every change.
/// Ticks are at 480 ticks per quarter note; signature changes are placed by measure, counted
/// from the head signature at measure 0.
struct ConductorMap {
    struct Tempo {
        std::int32_t tick;
        std::int32_t bpm;
    };
    struct Signature {
        std::int32_t measure;
        std::int32_t numerator;
        std::int32_t denominator;
    };
    std::int32_t headBpm = 12000;
    std::int32_t headNumerator = 4;
    std::int32_t headDenominator = 4;
    std::vector<Tempo> tempos;         // after the head, by tick
    std::vector<Signature> signatures; // after the head, by measure
};

/// Reads track 0 of `sequence`. The first tempo event gives the head tempo (120.00 without one);
/// the first time signature gives the head signature (4/4 without one, or when it has a zero
/// numerator or denominator). Every later tempo or signature event that differs from the one
/// before it is a change; changes beyond kLatestImportTick are left out, as no note of an
/// imported song reaches them. False when the file has no track 0 or the track is malformed.
[[nodiscard]] bool readConductorTrack(CxMidiSequence& sequence, ConductorMap& map);

/// Fills the empty signature and tempo lists of `master` from `map`: the head signature at
/// measure 0 and the head tempo at tick 0, then the changes; a change at the position of the one
/// before it takes that one's place. With `measuresInFront`, for a song that measures will be
/// put in front of (shiftByPreMeasure), a signature change at measure 0 stands beside the head
/// instead: the head is the signature of the measures in front, the change moves with the song.
/// False when an object cannot be created or linked.
[[nodiscard]] bool applyConductorMap(const ConductorMap& map, CZRMasterTrack& master,
                                     const ZRCreateContext& context, bool measuresInFront = false);

/// Reads track 0 of `sequence` into the signature and tempo lists of `master`, as
/// applyConductorMap() places them.
[[nodiscard]] bool convertConductorTrack(CxMidiSequence& sequence, CZRMasterTrack& master,
                                         const ZRCreateContext& context,
                                         bool measuresInFront = false);

} // namespace kor
