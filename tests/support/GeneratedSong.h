// Writes generated KOR3 songs of any size, for the reader's size tests and benchmarks.
#pragma once

#include <cstdint>
#include <ostream>

namespace kor::test {

/// How much each generated note carries.
enum class NoteDetail {
    Full,  ///< lyric, phonemes, two style values and a vibrato depth curve of one point
    Plain, ///< lyric and phonemes, one style value
};

/// Writes a song of one track and one musical part holding `notes` notes, one every 480 ticks,
/// laid out as the writer lays songs out.
void writeKor3Song(std::ostream& out, std::int64_t notes, NoteDetail detail = NoteDetail::Full);

} // namespace kor::test
