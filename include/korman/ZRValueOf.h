// The value record of an object as the editor takes it, read from the object itself.
#pragma once

#include <korman/Export.h>
#include <korman/ZREditValues.h>

class IZRMusicalControl;
class IZRMusicalNote;
class IZRMusicalPart;
class IZRMusicalSinger;
class IZRNoteStyleAttrib;
class IZRNoteStyleSeqAttribElement;
class IZRProsodyControl;
class IZRProsodyElement;
class IZRProsodyVoice;
class IZRStyleControl;
class IZRTempo;
class IZRTimeSig;
class IZRWAVPart;

// Each function fills every field of the record from the object, in the record's units, so that
// an edit changes what it means to and keeps the rest:
//     ZRNoteValue v = kor::valueOf(*note);
//     v.noteNum += 2;
//     editor->updateNote(note->getObjID(), v);
// They read the live object as it is now (after the last commit, undo or redo); they cannot fail
// and allocate only the texts of the record, which the caller owns.
namespace kor {

/// A tempo: its tick (absolute) and BPM x 100.
KORMAN_API ZRTempoValue valueOf(const IZRTempo& tempo);
/// A time signature: its measure (from 0, pre-measures included), numerator and denominator.
KORMAN_API ZRTimeSigValue valueOf(const IZRTimeSig& timeSig);
/// A singer: its tick relative to the part and its VVoice (bank select, program change), as the
/// singer resolves it against the song's VVoice table.
KORMAN_API ZRSingerValue valueOf(const IZRMusicalSinger& singer);
/// A musical control: its tick relative to the part, kind 0 to 6 and value.
KORMAN_API ZRMusicalControlValue valueOf(const IZRMusicalControl& control);
/// A style control: its tick relative to the part, style ID and value.
KORMAN_API ZRStyleControlValue valueOf(const IZRStyleControl& control);
/// A note: tick relative to the part, length, note number, velocity, lyric, every phoneme and
/// the phoneme lock.
KORMAN_API ZRNoteValue valueOf(const IZRMusicalNote& note);
/// A note's style values; a value the note does not carry is 0.
KORMAN_API ZRNoteStyleValue valueOf(const IZRNoteStyleAttrib& style);
/// A point of a note's style curve: position over the note (16.16, 65536 the note's end) and
/// value.
KORMAN_API ZRNoteStyleSeqAttribElementValue valueOf(const IZRNoteStyleSeqAttribElement& point);
/// A musical part: its absolute tick, play time in ticks, name and comment.
KORMAN_API ZRMusicalPartValue valueOf(const IZRMusicalPart& part);
/// A WAV part: its absolute tick, play time in ticks, name and comment.
KORMAN_API ZRWAVPartValue valueOf(const IZRWAVPart& part);
/// A voice change of a prosody part: its time relative to the part (16.16 seconds) and VVoice.
KORMAN_API ZRProsodyVoiceValue valueOf(const IZRProsodyVoice& voice);
/// A point of a prosody curve: its time relative to the part (16.16 seconds) and value.
KORMAN_API ZRProsodyElementValue valueOf(const IZRProsodyElement& element);
/// A prosody control: its time relative to the part (16.16 seconds), kind 0 to 6 and value.
KORMAN_API ZRProsodyControlValue valueOf(const IZRProsodyControl& control);
/// A note's vibrato, from its "vibType" and "vibLen" style values: enabled when either is not 0;
/// all 0 for a note without style values.
KORMAN_API ZRVibratoValue vibratoOf(const IZRMusicalNote& note);

} // namespace kor
