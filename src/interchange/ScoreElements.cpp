#include "interchange/ScoreElements.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>

namespace kor::score {

Element elementOf(std::wstring_view name) {
    static const std::unordered_map<std::wstring_view, Element> kNames{
        {L"score-partwise", Element::ScorePartwise},
        {L"score-timewise", Element::ScoreTimewise},
        {L"work-title", Element::WorkTitle},
        {L"movement-title", Element::MovementTitle},
        {L"score-part", Element::ScorePart},
        {L"part-name", Element::PartName},
        {L"part", Element::Part},
        {L"measure", Element::Measure},
        {L"attributes", Element::Attributes},
        {L"divisions", Element::Divisions},
        {L"time", Element::Time},
        {L"beats", Element::Beats},
        {L"beat-type", Element::BeatType},
        {L"transpose", Element::Transpose},
        {L"chromatic", Element::Chromatic},
        {L"octave-change", Element::OctaveChange},
        {L"note", Element::Note},
        {L"grace", Element::Grace},
        {L"cue", Element::Cue},
        {L"chord", Element::Chord},
        {L"pitch", Element::Pitch},
        {L"unpitched", Element::Unpitched},
        {L"step", Element::Step},
        {L"alter", Element::Alter},
        {L"octave", Element::Octave},
        {L"display-step", Element::DisplayStep},
        {L"display-octave", Element::DisplayOctave},
        {L"rest", Element::Rest},
        {L"duration", Element::Duration},
        {L"voice", Element::Voice},
        {L"tie", Element::Tie},
        {L"tied", Element::Tied},
        {L"lyric", Element::Lyric},
        {L"syllabic", Element::Syllabic},
        {L"text", Element::Text},
        {L"elision", Element::Elision},
        {L"extend", Element::Extend},
        {L"backup", Element::Backup},
        {L"forward", Element::Forward},
        {L"sound", Element::Sound},
        {L"direction", Element::Direction},
        {L"metronome", Element::Metronome},
        {L"beat-unit", Element::BeatUnit},
        {L"beat-unit-dot", Element::BeatUnitDot},
        {L"per-minute", Element::PerMinute},
        {L"barline", Element::Barline},
        {L"repeat", Element::Repeat},
        {L"ending", Element::Ending},
        {L"segno", Element::Segno},
        {L"coda", Element::Coda},
    };
    const auto found = kNames.find(name);
    return found != kNames.end() ? found->second : Element::Other;
}

std::optional<double> decimal(std::wstring_view text) {
    const auto isDigit = [&text](std::size_t at) {
        return at < text.size() && text[at] >= L'0' && text[at] <= L'9';
    };
    std::size_t at = !text.empty() && (text[0] == L'-' || text[0] == L'+') ? 1 : 0;
    const std::size_t first = at;
    double value = 0;
    for (; isDigit(at); ++at)
        value = value * 10 + (text[at] - L'0');
    std::size_t digits = at - first;
    if (at < text.size() && text[at] == L'.') {
        double scale = 0.1;
        for (++at; isDigit(at); ++at, ++digits, scale /= 10)
            value += (text[at] - L'0') * scale;
    }
    if (digits == 0 || at != text.size() || !std::isfinite(value)) return std::nullopt;
    return text[0] == L'-' ? -value : value;
}

std::int64_t beatsSum(std::wstring_view text) {
    std::int64_t sum = 0;
    std::int64_t part = -1;
    for (const wchar_t c : text) {
        if (c >= L'0' && c <= L'9') {
            part = (part < 0 ? 0 : part) * 10 + (c - L'0');
            if (part > 255) return 0;
        } else if (c == L'+' && part >= 0) {
            sum += part;
            part = -1;
        } else if (c != L' ') {
            return 0;
        }
    }
    return part < 0 ? 0 : sum + part;
}

double quartersOf(std::wstring_view unit, int dots) {
    static constexpr std::array<std::pair<std::wstring_view, double>, 10> kUnits{{
        {L"long", 16},
        {L"breve", 8},
        {L"whole", 4},
        {L"half", 2},
        {L"quarter", 1},
        {L"eighth", 0.5},
        {L"16th", 0.25},
        {L"32nd", 0.125},
        {L"64th", 0.0625},
        {L"128th", 0.03125},
    }};
    for (const auto& [name, quarters] : kUnits) {
        if (name != unit) continue;
        double value = quarters;
        for (double add = quarters / 2; dots > 0; --dots, add /= 2)
            value += add;
        return value;
    }
    return 0;
}

std::wstring oneLine(std::wstring_view text) {
    std::wstring line;
    bool blank = false;
    for (const wchar_t c : text) {
        if (c == L' ' || c == L'\t' || c == L'\r' || c == L'\n') {
            blank = !line.empty();
            continue;
        }
        if (blank) line += L' ';
        blank = false;
        line += c;
    }
    return line;
}

std::int32_t stepOf(std::wstring_view step) {
    static constexpr std::wstring_view kSteps = L"C D EF G A B";
    const std::size_t at = step.size() == 1 ? kSteps.find(step[0]) : std::wstring_view::npos;
    return at == std::wstring_view::npos || step[0] == L' ' ? -1 : static_cast<std::int32_t>(at);
}

std::int32_t bpmOf(double quartersPerMinute) {
    return std::clamp(
        static_cast<std::int32_t>(std::lround(std::min(quartersPerMinute, 1e6) * 100)), 2000,
        30000);
}

std::wstring attribute(const ZRXmlTag& tag, std::wstring_view name) {
    const std::wstring* value = tag.attribute(name);
    return value != nullptr ? *value : std::wstring();
}

std::int32_t bounded(std::wstring_view text, double max) {
    return static_cast<std::int32_t>(std::lround(std::clamp(decimal(text).value_or(0), -max, max)));
}

Syllabic syllabicOf(std::wstring_view text) {
    if (text == L"begin") return Syllabic::Begin;
    if (text == L"middle") return Syllabic::Middle;
    if (text == L"end") return Syllabic::End;
    return Syllabic::Single;
}

std::vector<std::int32_t> passesOf(std::wstring_view text) {
    std::vector<std::int32_t> passes;
    std::int32_t pass = 0;
    for (const wchar_t c : text) {
        if (c >= L'0' && c <= L'9') {
            pass = pass * 10 + (c - L'0');
            if (pass > kMaxPass) return {};
        } else if (c == L',' || c == L' ') {
            if (pass > 0) passes.push_back(pass);
            pass = 0;
        } else {
            return {};
        }
    }
    if (pass > 0) passes.push_back(pass);
    return passes;
}

} // namespace kor::score
