// Finding the song text that legacy files keep in "DM:" text events, and joining a track's pieces.
#pragma once

#include <cstddef>

class CxMidiSequence;
class CxTypedFile;

namespace kor {

/// The bit of a CxTypedFile's status that marks a track whose embedded text is corrupt.
inline constexpr int kLegacyTextCorrupt = 8;

/// Whether a parsed MIDI file is a legacy song file: 1 when it is, 0 when it is a plain MIDI file,
/// -1 when a track it had to walk is malformed.
///
/// A track holds legacy text when one of its text events starts with "DM:". A format 0 file
/// answers as its only track does (no track: 0). Other formats with one track answer as that
/// track; with none they answer 1; with more, every track after the conductor track (index 0, not
/// examined) must hold legacy text, and the first track that does not decides the answer.
int hasLegacyText(CxMidiSequence& sequence);

/// Joins the "DM:nnnn:" pieces of track `trackIndex` in piece-number order and parses the text
/// into `file` with comments off, in the file's code page. `hadText` tells whether the track has
/// any piece; a track without pieces leaves `file` empty and succeeds.
///
/// Fails, leaving `file` empty, when the track does not exist or is malformed, or when the text
/// is corrupt: a piece without the colon after its number within the first 128 characters, a
/// number that is negative, repeated or not below the count of pieces, or a number left out.
/// Corrupt text also sets kLegacyTextCorrupt in the file's status.
[[nodiscard]] bool collectTrackText(CxMidiSequence& sequence, std::size_t trackIndex,
                                    CxTypedFile& file, bool& hadText);

} // namespace kor
