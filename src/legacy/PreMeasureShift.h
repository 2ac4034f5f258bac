// Moving a whole song later by a number of measures placed in front of it.
#pragma once

#include <cstdint>

class CZRKorRoot;

namespace kor {

/// Puts `count` measures (1..8) in front of the song under `root`: the master track's
/// pre-measure becomes `count`, every time signature but the head one moves `count` measures
/// later, and every tempo but the head one and every part of every singing track move later by
/// the ticks of those measures. False, changing nothing, for a count outside 1..8 or a song
/// without its master track or track list.
[[nodiscard]] bool shiftByPreMeasure(CZRKorRoot& root, std::int32_t count);

} // namespace kor
