// The value records a host hands to the editor's operations.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

/// A tempo change: position in ticks, tempo in hundredths of a beat per minute (2000 to 30000).
struct ZRTempoValue {
    /// Position in ticks from the start of the song (pre-measures included), at least 0.
    std::int32_t posTick = 0;
    /// Beats per minute times 100 (12000 is 120.00 BPM), 2000 to 30000.
    std::int32_t tempo = 0;
};

/// A time signature: position as a measure index counted from 0 including the pre-measures,
/// numerator 1 to 255, denominator 1 to 32.
struct ZRTimeSigValue {
    /// The measure where the signature starts, from 0 (pre-measures included), at least 0.
    std::int32_t posMes = 0;
    /// Beats per measure, 1 to 255.
    std::int32_t numerator = 0;
    /// The beat unit: 1, 2, 4, 8, 16 or 32.
    std::int32_t denominator = 0;
};

/// A singer change: position in ticks relative to the part, and the VVoice sung from there on.
struct ZRSingerValue {
    /// Position in ticks relative to the part's start, at least 0; the singer at 0 heads the list.
    std::int32_t posTick = 0;
    /// Bank select of the VVoice sung from there on, 0 to 127; the song's VVoice table must hold
    /// the pair.
    std::int32_t vBS = 0;
    /// Program change of that VVoice, 0 to 127.
    std::int32_t vPC = 0;
};

/// A musical control: position in ticks relative to the part, control kind 0 to 6 (DYN, BRE,
/// BRI, CLE, GEN, PIT, PBS) and value.
struct ZRMusicalControlValue {
    /// Position in ticks relative to the part's start, at least 0.
    std::int32_t posTick = 0;
    /// Control kind, 0 to 6 (DYN, BRE, BRI, CLE, GEN, PIT, PBS); the kind of the list it goes in.
    std::int32_t type = 0;
    /// The value, stored as given (no range is checked).
    std::int32_t value = 0;
};

/// A style control: position in ticks relative to the part, the style ID (1 to 256 characters)
/// and value.
struct ZRStyleControlValue {
    /// Position in ticks relative to the part's start, at least 0.
    std::int32_t posTick = 0;
    /// The style control's ID, 1 to 256 characters.
    std::wstring id;
    /// The value, stored as given.
    std::int32_t value = 0;
};

// The value records of the note operations.

/// A note.
struct ZRNoteValue {
    /// Start in ticks relative to the part, at least 0. Updates that keep the note in place
    /// neither use nor check it.
    std::int32_t posTick = 0;
    /// Length in ticks, at least 1.
    std::int32_t durTick = 0;
    /// MIDI note number, 0 to 127.
    std::int32_t noteNum = 0;
    /// Velocity, 0 to 127.
    std::int32_t velocity = 0;
    /// The sung text, 1 to 32 characters.
    std::wstring lyric;
    /// The phoneme symbols sung, at least one; each 1 to 32 characters, and at most 32 characters
    /// when joined with single blanks.
    std::vector<std::wstring> phonemes;
    /// Phoneme lock, stored and saved as given: the library never derives phonemes from the
    /// lyric, so the flag is for a host that does, telling it to keep these symbols.
    std::int32_t phLock = 0;
};

/// The singing style of a note, as stored in its style values under the IDs named below.
struct ZRNoteStyleValue {
    /// "bendDep": depth of the pitch bend into the note, 0 to 100.
    std::int32_t bendDep = 0;
    /// "bendLen": length of that bend, 0 to 100.
    std::int32_t bendLen = 0;
    /// "risePort": 1 adds a rising portamento into the note; not range-checked.
    std::int32_t risePort = 0;
    /// "fallPort": 1 adds a falling portamento into the note; not range-checked.
    std::int32_t fallPort = 0;
    /// "decay": how fast the note's loudness decays, 0 to 100.
    std::int32_t decay = 0;
    /// "accent": strength of the attack, 0 to 100.
    std::int32_t accent = 0;
    /// "opening": how far the mouth opens, 0 to 127.
    std::int32_t opening = 0;
};

/// The vibrato of a note. Setting it rebuilds the note's "vibType" and "vibLen" style values and
/// its "vibDep" and "vibRate" curves, which take the depth and rate curves of the vibrato kind
/// `type` from the voice database, laid over the last `length` percent of the note.
struct ZRVibratoValue {
    /// Nonzero: the note vibrates as `length` and `type` say. 0: it sings without vibrato (type
    /// and length 0, empty curves); `length` and `type` are still checked.
    std::int32_t enabled = 0;
    /// The share of the note that vibrates, counted back from its end, in percent: 0 to 100.
    std::int32_t length = 0;
    /// The vibrato kind, 0 to 16; 0 is no kind (empty curves). A kind the voice database lacks
    /// is kept as well, with empty curves.
    std::int32_t type = 0;
};

/// A point of a note's style curve (the curves under "vibDep", "vibRate", ...).
struct ZRNoteStyleSeqAttribElementValue {
    /// Position over the note in 16.16 fixed point: 0 is the note's start, 65536 its end. Updates
    /// that keep the point in place neither use nor check it.
    std::int32_t posNrm = 0;
    /// The curve's value at that point; not checked.
    std::int32_t elv = 0;
};

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
