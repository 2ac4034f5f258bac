// The read interface of a note of a musical part.
#pragma once

#include <korman/IZRKorObject.h>

#include <string>

class IZRNoteStyleAttrib;
class IZRNoteStyleSeqAttrib;

/// A sung note: position and length in ticks relative to its part, MIDI note number, velocity,
/// lyric and phoneme symbols, with optional style values and style curves.
class KORMAN_API IZRMusicalNote : public virtual IZRKorObject {
public:
    /// The start tick relative to the part's start (at least 0); the key the note list is
    /// ordered by.
    virtual std::int32_t getPosTick() const = 0;
    /// The length in ticks (at least 1).
    virtual std::int32_t getDurTick() const = 0;
    /// The MIDI note number, 0 to 127.
    virtual std::int32_t getNoteNum() const = 0;
    /// The velocity, 0 to 127.
    virtual std::int32_t getVelocity() const = 0;
    /// The lyric, 1 to 32 characters. This and the other references handed out are valid while
    /// the note lives, and change with it.
    virtual const std::wstring& getLyric() const = 0;
    /// The number of phoneme symbols the note sings; at least 1 in a valid song ("a" by
    /// default). The library imposes no phoneme alphabet and derives no phonemes from the lyric.
    virtual std::uint32_t getPhonemeCount() const = 0;
    /// The phoneme symbol at `index`, or an empty text for an index not below the count.
    virtual const std::wstring& getPhoneme(std::uint32_t index) const = 0;
    /// The phoneme lock flag.
    virtual std::int32_t getPhLock() const = 0;
    /// The note's style values (borrowed), or null.
    virtual IZRNoteStyleAttrib* getNoteStyle() const = 0;
    /// The note's style curves (borrowed), or null.
    virtual IZRNoteStyleSeqAttrib* getNoteSeqStyle() const = 0;
};
