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

/// A musical part as the part operations take it. Which fields an operation uses is told with
/// the operation; the rest are ignored.
struct ZRMusicalPartValue {
    /// Start of the part in ticks, counted from the start of the song (pre-measures included);
    /// the part may not start before the end of the pre-measure area.
    std::int32_t posTick = 0;
    /// Length in ticks that the part plays, from the manager's shortest play time (at least 60)
    /// up to its longest one (when the manager sets one). The events need not end within it.
    std::int32_t playTime = 0;
    /// The part's name as the host shows it; any text, empty allowed.
    std::wstring name;
    /// A free comment; any text, empty allowed.
    std::wstring comment;
};

// The value records of the prosody event and WAV part operations.

struct ZRWAVPartValue;
struct ZRProsodyVoiceValue;
struct ZRProsodyElementValue;
struct ZRProsodyControlValue;
