// Writes generated KOR3 songs of any size, for the reader's size tests and benchmarks.
#pragma once

#include <cstdint>
#include <ostream>
#include <vector>

namespace kor::test {

/// How much each generated note carries.
enum class NoteDetail {
    Full,  ///< lyric, phonemes, two style values and a vibrato depth curve of one point
    Plain, ///< lyric and phonemes, one style value
    /// lyric, phonemes, the nine style values of a note sung with vibrato and its two vibrato
    /// curves (depth and rate) of three points each
    Vibrato,
};

/// Writes a song of one track and one musical part holding `notes` notes, one every 480 ticks,
/// laid out as the writer lays songs out.
void writeKor3Song(std::ostream& out, std::int64_t notes, NoteDetail detail = NoteDetail::Full);

/// As above with one musical part per entry of `partNotes`, holding that many notes, the parts
/// following one another in the track.
void writeKor3Song(std::ostream& out, const std::vector<std::int64_t>& partNotes,
                   NoteDetail detail = NoteDetail::Full);

} // namespace kor::test
