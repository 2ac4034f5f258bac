#include "model/VibratoShape.h"

#include <algorithm>

namespace kor {

std::vector<VibratoPoint>
curveOverNote(std::int32_t start, const std::vector<tagBreakPoint>& points, std::int32_t onset) {
    std::vector<VibratoPoint> curve;
    auto add = [&curve](std::int32_t pos, std::int32_t value) {
        value = std::clamp(value, 0, 127);
        if (!curve.empty() && curve.back().posNrm >= pos)
            curve.back().value = value;
        else
            curve.push_back({pos, value});
    };
    add(onset, start);
    for (const tagBreakPoint& point : points)
        add(onset + static_cast<std::int32_t>(std::int64_t{point.x} * (kNoteCurveEnd - onset) /
                                              kBreakPointFullLength),
            point.y);
    return curve;
}

} // namespace kor
