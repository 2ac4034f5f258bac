// Writing a song as a standard MIDI file for sequencers.
#pragma once

#include <korman/ZRFileFormat.h>

#include <cstdint>
#include <string>

class CZRSequence;

namespace kor {

/// The bytes of `song` as a format 1 MIDI file at 480 ticks per quarter. Track 0 is the conductor
/// track: the song's name, its time signatures and tempos. Then one track per singing track, on
/// channel (track number mod 16): its name, and from its musical parts the notes (a lyric event
/// right before each note-on; a velocity of 0 is written as 1, since a note-on of velocity 0 ends
/// a note), dynamics as controller 11, pitch bend as pitch-bend events and the bend sensitivity as
/// registered parameter 0/0. Names and lyrics are written in `options.codePage`; a character the
/// code page cannot carry becomes '?'.
///
/// Without `options.keepPreMeasure` the file starts where the song proper begins: everything
/// moves earlier by the pre-measure, and tempos, signatures and controls of the pre-measure area
/// give the values in effect at the file's start. Returns 0, ZR_E_INVALID_PARAMETER for an
/// unknown code page, a song without master track, a note that starts in a pre-measure area that
/// is dropped, or an event later than a MIDI file can place (about 0.28 billion ticks);
/// `reason` then says which. On success `reason` is empty, or counts the notes written at
/// another length than the song gives them: more than 16 of one key sounding at once on a track
/// (one is ended where the next starts) and notes shorter than 1 tick.
[[nodiscard]] std::uint32_t buildSmf(const CZRSequence& song, const ZRSMFExportOptions& options,
                                     std::string& bytes, std::wstring& reason);

/// Writes buildSmf's bytes to `path`, replacing the file there only once they are all written.
/// Returns buildSmf's codes, ZR_E_INVALID_FILE_NAME, ZR_E_CANNOT_OPEN_FILE or
/// ZR_E_CANNOT_SAVE_FILE; `reason` then names the file, the system's reason and what in the path
/// is at fault, as a song save does. On success `reason` is buildSmf's note.
[[nodiscard]] std::uint32_t exportSmf(const CZRSequence& song, const ZRSMFExportOptions& options,
                                      const std::wstring& path, std::wstring& reason);

} // namespace kor
