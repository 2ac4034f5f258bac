// A vibrato articulation with its depth and rate curves, and where a voice item keeps its file.
#pragma once

#include "legacy/IconExpression.h"
#include "model/VibratoShape.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

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

    /// The levels and curves read, as a note takes them on.
    const kor::VibratoShape& shape() const { return shape_; }
    std::int32_t startDepth() const { return shape_.startDepth; }
    std::int32_t startRate() const { return shape_.startRate; }
    const std::vector<tagBreakPoint>& depthCurve() const { return shape_.depthCurve; }
    const std::vector<tagBreakPoint>& rateCurve() const { return shape_.rateCurve; }

protected:
    void readFrom(const CxTypedFile& file) override;

private:
    kor::VibratoShape shape_;
};

namespace kor {

/// Fills `curve` from up to `count` points: `xs` holds positions as decimal fractions of the
/// length, `ys` the values, both comma-separated. The curve ends at the first missing token or at
/// a position above 1.0; surplus tokens are ignored.
void readBreakPoints(std::int32_t count, std::wstring_view xs, std::wstring_view ys,
                     std::vector<tagBreakPoint>& curve);

/// The articulation file of a voice-database item: the item's folder (either "/" or "\" ends a
/// folder) joined with "/" to its base name and ".aic". Nothing when no plain file lies there.
std::optional<std::wstring> findArticulationFile(std::wstring_view itemFilePath);

} // namespace kor
