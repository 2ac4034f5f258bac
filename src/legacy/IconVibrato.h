// A vibrato articulation with its depth and rate curves, and where a voice item keeps its file.
#pragma once

#include "legacy/IconExpression.h"

#include <compare>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

/// A point of a vibrato curve: x is the position as the fraction of the vibrato's length times
/// 10000 (0 to 10000), y the value there.
struct tagBreakPoint {
    std::int32_t x;
    std::int16_t y;

    friend auto operator<=>(const tagBreakPoint&, const tagBreakPoint&) = default;
};

/// A vibrato kind: start depth and start rate (0 to 127) and the curves that take them on over
/// the vibrato's length. Loading reads, besides caption and length, "StartDepth", "DepthBPNum",
/// "DepthBPX", "DepthBPY", "StartRate", "RateBPNum", "RateBPX" and "RateBPY" of section
/// "Parameter"; missing keys read as 0.
class CIconVibrato : public CIconExpression {
public:
    CIconVibrato() = default;
    CIconVibrato(const CIconVibrato&) = default;
    CIconVibrato& operator=(const CIconVibrato&) = default;
    ~CIconVibrato() override = default;

    using CIconObject::load;

    std::int32_t startDepth() const { return startDepth_; }
    std::int32_t startRate() const { return startRate_; }
    const std::vector<tagBreakPoint>& depthCurve() const { return depthCurve_; }
    const std::vector<tagBreakPoint>& rateCurve() const { return rateCurve_; }

protected:
    void readFrom(const CxTypedFile& file) override;

private:
    std::int32_t startDepth_ = 0;
    std::vector<tagBreakPoint> depthCurve_;
    std::int32_t startRate_ = 0;
    std::vector<tagBreakPoint> rateCurve_;
};

namespace kor {

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
std::vector<VibratoPoint> curveOverNote(std::int32_t start, const std::vector<tagBreakPoint>& points,
                                        std::int32_t onset);

/// Fills `curve` from up to `count` points: `xs` holds positions as decimal fractions of the
/// length, `ys` the values, both comma-separated. The curve ends at the first missing token or at
/// a position above 1.0; surplus tokens are ignored.
void readBreakPoints(std::int32_t count, std::wstring_view xs, std::wstring_view ys,
                     std::vector<tagBreakPoint>& curve);

/// The articulation file of a voice-database item: the item's folder (either "/" or "\" ends a
/// folder) joined with "/" to its base name and ".aic". Nothing when no plain file lies there.
std::optional<std::wstring> findArticulationFile(std::wstring_view itemFilePath);

} // namespace kor
