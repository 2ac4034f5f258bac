// The value records a host hands to the editor's operations.
#pragma once

#include <cstdint>
#include <string>

/// A tempo change: position in ticks, tempo in hundredths of a beat per minute (2000 to 30000).
struct ZRTempoValue {
    std::int32_t posTick = 0;
    std::int32_t tempo = 0;
};

/// A time signature: position as a measure index counted from 0 including the pre-measures,
/// numerator 1 to 255, denominator 1 to 32.
struct ZRTimeSigValue {
    std::int32_t posMes = 0;
    std::int32_t numerator = 0;
    std::int32_t denominator = 0;
};

/// A singer change: position in ticks relative to the part, and the VVoice sung from there on.
struct ZRSingerValue {
    std::int32_t posTick = 0;
    std::int32_t vBS = 0;
    std::int32_t vPC = 0;
};

/// A musical control: position in ticks relative to the part, control kind 0 to 6 (DYN, BRE,
/// BRI, CLE, GEN, PIT, PBS) and value.
struct ZRMusicalControlValue {
    std::int32_t posTick = 0;
    std::int32_t type = 0;
    std::int32_t value = 0;
};

/// A style control: position in ticks relative to the part, the style ID (1 to 256 characters)
/// and value.
struct ZRStyleControlValue {
    std::int32_t posTick = 0;
    std::wstring id;
    std::int32_t value = 0;
};

// The value records of the note operations.

struct ZRNoteValue;
struct ZRNoteStyleValue;
struct ZRVibratoValue;
struct ZRNoteStyleSeqAttribElementValue;

// The value records of the musical part operations.

struct ZRMusicalPartValue;

// The value records of the prosody event and WAV part operations.

/// The attributes of a WAV part that the host edits. The audio file, its format and its length
/// in seconds stay as they were when the part was inserted.
struct ZRWAVPartValue {
    /// Start in ticks; at or after the end of the pre-measures. Used by moveWAVPart only.
    std::int32_t posTick = 0;
    /// Play length in ticks; at least 60.
    std::int32_t playTime = 0;
    /// Part name.
    std::wstring name;
    /// Comment.
    std::wstring comment;
};

/// A voice change of a prosody part.
struct ZRProsodyVoiceValue {
    /// Position in seconds (16.16 fixed point: 65536 is one second) from the start of the part;
    /// at least 0. The voice at 0 heads the list.
    std::int32_t posSec = 0;
    /// Bank select of the VVoice sung from there on; the sequence's VVoice table must hold the
    /// voice (bank select, program change).
    std::int32_t vBS = 0;
    /// Program change of that VVoice.
    std::int32_t vPC = 0;
};

/// A point of one of the two curves of a prosody part.
struct ZRProsodyElementValue {
    /// Position in seconds (16.16 fixed point) from the start of the part; at least 0. The point
    /// at 0 heads the curve.
    std::int32_t posSec = 0;
    /// Curve value at that point.
    std::int32_t value = 0;
};

/// A control point of a prosody part.
struct ZRProsodyControlValue {
    /// Position in seconds (16.16 fixed point) from the start of the part; at least 0.
    std::int32_t posSec = 0;
    /// Control kind 0 to 6 (DYN, BRE, BRI, CLE, GEN, PIT, PBS): the kind of the list that holds
    /// the control.
    std::int32_t type = 0;
    /// Control value.
    std::int32_t value = 0;
};
