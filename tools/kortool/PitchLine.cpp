#include "PitchLine.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <optional>

namespace kortool {

namespace {

constexpr int kNoteEnd = 65536; // a note curve's positions run from 0 to this, over the note
constexpr int kBendRange = 8192;

// A note's vibrato: where it starts over the note, and its depth and rate curves (0 to 127) as
// steps along the note. The depth reads as cents (127 is a semitone either way), the rate as
// tenths of a hertz.
struct Vibrato {
    int onset = kNoteEnd;
    std::vector<std::pair<int, int>> depth;
    std::vector<std::pair<int, int>> rate;

    static constexpr int kDefaultDepth = 64;
    static constexpr int kDefaultRate = 50;

    static double valueAt(const std::vector<std::pair<int, int>>& curve, int position) {
        auto after =
            std::upper_bound(curve.begin(), curve.end(), std::make_pair(position, INT_MAX));
        return after == curve.begin() ? curve.front().second : (after - 1)->second;
    }
    double depthCents(int position) const { return valueAt(depth, position) * 100.0 / 127; }
    double rateHertz(int position) const { return valueAt(rate, position) / 10.0; }
};

std::vector<std::pair<int, int>> noteCurve(const IZRNoteStyleSeqAttrib* curves, const wchar_t* id,
                                           int fallback) {
    std::vector<std::pair<int, int>> points;
    const IZRNodeList* list = curves != nullptr ? curves->getElementList(id) : nullptr;
    for (const auto* element : elementsOf<IZRNoteStyleSeqAttribElement>(list))
        points.emplace_back(element->getPosNrm(), std::clamp(element->getElv(), 0, 127));
    std::stable_sort(points.begin(), points.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    if (points.empty()) points.emplace_back(0, fallback);
    return points;
}

// The vibrato of `note`, or none: it is on when the note names a vibrato kind (above 0) and gives
// it a length, the share of the note (in percent) at its end that it covers.
std::optional<Vibrato> vibratoOf(const IZRMusicalNote& note) {
    const IZRNoteStyleAttrib* style = note.getNoteStyle();
    std::int32_t kind = 0, length = 0;
    if (style == nullptr || !style->getValue(L"vibType", kind) ||
        !style->getValue(L"vibLen", length) || kind <= 0 || length <= 0)
        return std::nullopt;
    Vibrato vibrato;
    vibrato.onset = kNoteEnd - kNoteEnd * std::min(length, 100) / 100;
    vibrato.depth = noteCurve(note.getNoteSeqStyle(), L"vibDep", Vibrato::kDefaultDepth);
    vibrato.rate = noteCurve(note.getNoteSeqStyle(), L"vibRate", Vibrato::kDefaultRate);
    return vibrato;
}

} // namespace

PitchLine::Steps::Steps(const IZRNodeList* list, int origin, int fallback, int low, int high)
    : fallback_(fallback) {
    for (const auto* control : elementsOf<IZRMusicalControl>(list))
        changes_.emplace_back(origin + control->getPosTick(),
                              std::clamp(control->getValue(), low, high));
    std::stable_sort(changes_.begin(), changes_.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
}

int PitchLine::Steps::at(int tick) const {
    auto after = std::upper_bound(changes_.begin(), changes_.end(), tick,
                                  [](int t, const auto& change) { return t < change.first; });
    return after == changes_.begin() ? fallback_ : (after - 1)->second;
}

PitchLine::PitchLine(const Timeline& time, const IZRMusicalPart& part)
    : time_(time)
    , start_(part.getPosTick())
    , bend_(part.getControlList(5), start_, 0, -kBendRange, kBendRange - 1)
    , sensitivity_(part.getControlList(6), start_, kDefaultSensitivity, 0, 24)
    , dynamics_(part.getControlList(0), start_, kDefaultDynamics, 0, 127) {}

std::vector<double> PitchLine::cents(const IZRMusicalNote& note,
                                     const std::vector<int>& ticks) const {
    std::vector<double> line;
    line.reserve(ticks.size());
    const std::optional<Vibrato> vibrato = vibratoOf(note);
    const int noteStart = start_ + note.getPosTick();
    const int length = std::max(1, note.getDurTick());
    double phase = 0;
    double lastSeconds = 0;
    bool vibrating = false;
    for (int tick : ticks) {
        // The note's end belongs to the next note: a bend that starts there must not show here.
        tick = std::clamp(tick, noteStart, noteStart + length - 1);
        double value = 100.0 * sensitivity_.at(tick) * bend_.at(tick) / kBendRange;
        const int position = int(std::int64_t{tick - noteStart} * kNoteEnd / length);
        if (vibrato && position >= vibrato->onset) {
            // The phase grows with the rate in force over each step, so a slowing vibrato
            // stretches its waves instead of jumping.
            const double seconds = time_.secondsAt(tick);
            if (vibrating)
                phase +=
                    2 * std::numbers::pi * vibrato->rateHertz(position) * (seconds - lastSeconds);
            vibrating = true;
            lastSeconds = seconds;
            value += vibrato->depthCents(position) * std::sin(phase);
        }
        line.push_back(value);
    }
    return line;
}

std::vector<std::pair<int, int>> PitchLine::dynamics() const {
    std::vector<std::pair<int, int>> steps{{start_, dynamics_.at(start_)}};
    for (const auto& change : dynamics_.changes())
        if (change.first > start_) steps.push_back(change);
    return steps;
}

} // namespace kortool
