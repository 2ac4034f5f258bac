// The shape of a vibrato kind (start levels and break-point curves) and how it lies over a note.
#pragma once

#include <compare>
#include <cstdint>
#include <vector>

/// A point of a vibrato curve: x is the position as the fraction of the vibrato's length times
/// 10000 (0 to kor::kBreakPointFullLength), y the value there.
struct tagBreakPoint {
    std::int32_t x;
    std::int16_t y;

    friend auto operator<=>(const tagBreakPoint&, const tagBreakPoint&) = default;
};

namespace kor {

/// The break-point position of a vibrato's end.
inline constexpr std::int32_t kBreakPointFullLength = 10000;

/// A vibrato kind as a note takes it on: start depth and start rate (0 to 127) and the curves
/// that take them on over the vibrato's length.
struct VibratoShape {
    std::int32_t startDepth = 0;
    std::vector<tagBreakPoint> depthCurve;
    std::int32_t startRate = 0;
    std::vector<tagBreakPoint> rateCurve;
};

/// The end of a note on the scale of curve positions over a note (0 is the note's start).
inline constexpr std::int32_t kNoteCurveEnd = 65536;

/// A point of a vibrato curve laid over a note: position over the note (0 to kNoteCurveEnd) and
/// the curve's value there.
struct VibratoPoint {
    std::int32_t posNrm;
    std::int32_t value;

    friend bool operator==(const VibratoPoint&, const VibratoPoint&) = default;
};

/// Lays a vibrato curve over the part of a note that vibrates, from `onset` (a position over the
/// note) to the note's end: `start` at the onset, then each break point at its fraction of that
/// span. Values are kept within 0 to 127; a point that does not lie after the one before it
/// replaces that one's value.
std::vector<VibratoPoint>
curveOverNote(std::int32_t start, const std::vector<tagBreakPoint>& points, std::int32_t onset);

} // namespace kor
