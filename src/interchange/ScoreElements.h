// The elements of a MusicXML score that the reader follows, the bounds it keeps, and the readings
// of their texts, shared by the score's clock, its note and lyric readers and its builder.
#pragma once

#include "interchange/MusicXmlParser.h"
#include "interchange/Score.h"

#include <korman/ErrorCodes.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kor::score {

inline constexpr double kResolution = 480.0;
// Larger numbers than these stand in no score; they would only serve to overflow a position.
// Divisions count the parts of a quarter note, so there is at least one.
inline constexpr double kMinDivisions = 1;
inline constexpr double kMaxDivisions = 1e9;
inline constexpr double kMaxDuration = 1e12;
// The widest transposition a key can take, in semitones and in octaves.
inline constexpr double kMaxChromatic = 127;
inline constexpr double kMaxOctaveChange = 10;
// More parts, or voices in a part, than any score has; they bound the work of finding one.
inline constexpr std::size_t kMaxParts = 1024;
inline constexpr std::size_t kMaxVoices = 64;
// The most passes a repeat or an ending names; more than any score sings.
inline constexpr std::int32_t kMaxPass = 100;

enum class Element : std::uint8_t {
    Other,
    ScorePartwise,
    ScoreTimewise,
    WorkTitle,
    MovementTitle,
    ScorePart,
    PartName,
    Part,
    Measure,
    Attributes,
    Divisions,
    Time,
    Beats,
    BeatType,
    Transpose,
    Chromatic,
    OctaveChange,
    Note,
    Grace,
    Cue,
    Chord,
    Pitch,
    Unpitched,
    Step,
    Alter,
    Octave,
    DisplayStep,
    DisplayOctave,
    Rest,
    Duration,
    Voice,
    Tie,
    Tied,
    Lyric,
    Syllabic,
    Text,
    Elision,
    Extend,
    Backup,
    Forward,
    Sound,
    Direction,
    Metronome,
    BeatUnit,
    BeatUnitDot,
    PerMinute,
    Barline,
    Repeat,
    Ending,
    Segno,
    Coda,
};

// The element a tag of this name is; Other for one the reader does not follow.
Element elementOf(std::wstring_view name);

// A decimal number as MusicXML writes one: optional sign, digits, optional fraction. The
// locale plays no part. None for anything else.
std::optional<double> decimal(std::wstring_view text);

// The sum of the numbers of a beats text such as "3+2"; 0 when it holds anything else.
std::int64_t beatsSum(std::wstring_view text);

// Quarter notes in a beat unit with `dots` dots; 0 for a name that is no note value.
double quartersOf(std::wstring_view unit, int dots);

// A text of the score as one line: a name or syllable broken over lines for print stands with
// single blanks, as a song keeps its names (a line break would not read back as it was).
std::wstring oneLine(std::wstring_view text);

// The semitone of a step letter above C (C 0 to B 11); -1 for anything else.
std::int32_t stepOf(std::wstring_view step);

// The tempo of `quartersPerMinute` in BPM x 100, rounded and kept within 20 to 300 BPM.
std::int32_t bpmOf(double quartersPerMinute);

// The value of the attribute `name` of `tag`; empty when it has none.
std::wstring attribute(const ZRXmlTag& tag, std::wstring_view name);

// The whole number of `text` within -max to max; 0 for a text that is no number.
std::int32_t bounded(std::wstring_view text, double max);

// The syllabic kind a <syllabic> text names; Single for anything else.
Syllabic syllabicOf(std::wstring_view text);

// The passes an ending's number names ("1", "1, 2", "1 2"); empty for any other text.
std::vector<std::int32_t> passesOf(std::wstring_view text);

// Why the score is refused, shared by the readers that follow its elements.
class Refusal {
public:
    std::uint32_t operator()(std::wstring reason) {
        reason_ = std::move(reason);
        return ZR_E_INVALID_MUSICXML;
    }
    const std::wstring& reason() const { return reason_; }

private:
    std::wstring reason_;
};

} // namespace kor::score
