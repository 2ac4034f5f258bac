#include "interchange/MusicXmlScore.h"

#include "interchange/MusicXmlArchive.h"
#include "interchange/MusicXmlParser.h"
#include "legacy/ConductorTrack.h"
#include "platform/Path.h"

#include <korman/ErrorCodes.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <fstream>
#include <new>
#include <numeric>
#include <optional>
#include <string_view>
#include <unordered_map>

namespace kor {

namespace {

constexpr double kResolution = 480.0;
// Larger numbers than these stand in no score; they would only serve to overflow a position.
// Divisions count the parts of a quarter note, so there is at least one.
constexpr double kMinDivisions = 1;
constexpr double kMaxDivisions = 1e9;
constexpr double kMaxDuration = 1e12;
// The widest transposition a key can take, in semitones and in octaves.
constexpr double kMaxChromatic = 127;
constexpr double kMaxOctaveChange = 10;
// More parts, or voices in a part, than any score has; they bound the work of finding one.
constexpr std::size_t kMaxParts = 1024;
constexpr std::size_t kMaxVoices = 64;
// The most passes a repeat or an ending names; more than any score sings.
constexpr std::int32_t kMaxPass = 100;

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

// A decimal number as MusicXML writes one: optional sign, digits, optional fraction. The
// locale plays no part. None for anything else.
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

// The sum of the numbers of a beats text such as "3+2"; 0 when it holds anything else.
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

// Quarter notes in a beat unit with `dots` dots; 0 for a name that is no note value.
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

// A text of the score as one line: a name or syllable broken over lines for print stands with
// single blanks, as a song keeps its names (a line break would not read back as it was).
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

// The whole number of `text` within -max to max; 0 for a text that is no number.
std::int32_t bounded(std::wstring_view text, double max) {
    return static_cast<std::int32_t>(std::lround(std::clamp(decimal(text).value_or(0), -max, max)));
}

Syllabic syllabicOf(std::wstring_view text) {
    if (text == L"begin") return Syllabic::Begin;
    if (text == L"middle") return Syllabic::Middle;
    if (text == L"end") return Syllabic::End;
    return Syllabic::Single;
}

// The passes an ending's number names ("1", "1, 2", "1 2"); empty for any other text.
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

// A tempo the score writes in a direction: by a sound's tempo, else by a metronome mark.
class TempoMark {
public:
    void startDirection() {
        sounded_ = false;
        metronomeBpm_.reset();
    }
    void startMetronome() {
        beatUnits_ = 0;
        beatDots_ = 0;
        beatUnit_.clear();
        perMinute_.reset();
    }
    void takeSound() { sounded_ = true; }
    void end(Element element, Element parent, const std::wstring& text) {
        if (element == Element::BeatUnit && parent == Element::Metronome && beatUnits_++ == 0)
            beatUnit_ = text;
        if (element == Element::BeatUnitDot && beatUnits_ == 1) ++beatDots_;
        if (element == Element::PerMinute) perMinute_ = decimal(text);
        // A metric modulation (two beat units) says nothing of the tempo in numbers.
        if (element == Element::Metronome && beatUnits_ == 1 && perMinute_ && *perMinute_ > 0) {
            const double quarters = quartersOf(beatUnit_, beatDots_);
            if (quarters > 0) metronomeBpm_ = bpmOf(*perMinute_ * quarters);
        }
    }
    // The tempo of the direction that ends; none when a sound gave it, since the sound's tempo
    // is the one the score plays and the mark only stands in for it.
    std::optional<std::int32_t> directionBpm() const {
        return sounded_ ? std::nullopt : metronomeBpm_;
    }

private:
    bool sounded_ = false;
    std::optional<std::int32_t> metronomeBpm_;
    int beatUnits_ = 0;
    int beatDots_ = 0;
    std::wstring beatUnit_;
    std::optional<double> perMinute_;
};

// The time of the part being read, in its divisions: its measures, the position that notes,
// backup and forward move, time signatures and tempos, and the marks of repeats and jumps.
class ScoreClock {
public:
    ScoreClock(MusicXmlScore& score, Refusal& refuse)
        : score_(score)
        , refuse_(refuse) {}

    void startPart(std::size_t part, bool first) {
        part_ = part;
        firstPart_ = first;
        divisions_ = 1;
        measure_ = -1;
        cursor_ = 0;
        reached_ = 0;
    }

    std::uint32_t start(Element element, Element parent, const ZRXmlTag& tag) {
        switch (element) {
        case Element::Measure:
            // A measure belongs to a part; one elsewhere has no time to give.
            if (parent != Element::Part) break;
            ++measure_;
            cursor_ = 0;
            reached_ = 0;
            chordStart_ = 0;
            break;
        case Element::Time:
            timeNumerator_ = 0;
            timeDenominator_ = 1;
            beats_ = 0;
            break;
        case Element::Backup:
        case Element::Forward:
            move_ = 0;
            break;
        case Element::Direction:
            tempo_.startDirection();
            break;
        case Element::Metronome:
            tempo_.startMetronome();
            break;
        case Element::Sound:
            takeSound(tag);
            break;
        case Element::Repeat:
        case Element::Ending:
            if (parent == Element::Barline) takeBarline(element, tag);
            break;
        case Element::Segno:
        case Element::Coda:
            if (ScoreMeasureMarks* marks = marksHere()) {
                std::optional<std::wstring>& mark =
                    element == Element::Segno ? marks->segno : marks->coda;
                if (!mark) mark.emplace();
            }
            break;
        default:
            break;
        }
        return 0;
    }

    std::uint32_t end(Element element, Element parent, const std::wstring& text) {
        switch (element) {
        case Element::Divisions:
            return takeDivisions(text);
        case Element::Beats:
            beats_ = beatsSum(text);
            break;
        case Element::BeatType:
            addBeats(text);
            break;
        case Element::Time:
            endTime();
            break;
        case Element::Duration:
            return takeMove(text);
        case Element::Backup:
            cursor_ = std::max(cursor_ - move_, 0.0);
            break;
        case Element::Forward:
            cursor_ += move_;
            return advanceTo(cursor_);
        case Element::Direction:
            if (const std::optional<std::int32_t> bpm = tempo_.directionBpm()) addTempo(*bpm);
            break;
        case Element::Measure:
            if (parent == Element::Part) endMeasure();
            break;
        default:
            tempo_.end(element, parent, text);
            break;
        }
        return 0;
    }

    std::int32_t measure() const { return measure_; }

    // Places a note of `duration` divisions: a chord's later note where its chord starts, any
    // other at the position, which it moves on and so makes the measure reach. Gives its start,
    // or a refusal for a note ending later than a song can hold. The bound is tested before any
    // rounding: a position beyond the range of a whole number would round to anything.
    std::uint32_t place(double duration, bool chord, double& start) {
        start = chord ? chordStart_ : cursor_;
        if (exactTicks(start + duration) > kLatestImportTick)
            return refuse_(L"a note longer than a song can hold");
        if (chord) return 0;
        chordStart_ = cursor_;
        cursor_ += duration;
        return advanceTo(cursor_);
    }

    // The ticks of a position, which place() and advanceTo() keep within what a song can hold,
    // so that the rounding always has a whole number to give.
    std::int32_t ticks(double divisions) const {
        return static_cast<std::int32_t>(std::llround(exactTicks(divisions)));
    }

private:
    double exactTicks(double divisions) const { return divisions * kResolution / divisions_; }

    std::uint32_t advanceTo(double position) {
        reached_ = std::max(reached_, position);
        if (exactTicks(reached_) > kLatestImportTick)
            return refuse_(L"a measure longer than a song can hold");
        return 0;
    }

    std::uint32_t takeDivisions(const std::wstring& text) {
        const std::optional<double> value = decimal(text);
        if (!value || *value < kMinDivisions || *value > kMaxDivisions)
            return refuse_(L"divisions '" + text +
                           L"' are no number of parts of a quarter note from 1 to 1000000000");
        // A change within a measure keeps the time already passed.
        cursor_ = cursor_ * *value / divisions_;
        reached_ = reached_ * *value / divisions_;
        chordStart_ = chordStart_ * *value / divisions_;
        move_ = 0;
        divisions_ = *value;
        return 0;
    }

    // The duration of a backup or forward.
    std::uint32_t takeMove(const std::wstring& text) {
        const std::optional<double> value = decimal(text);
        if (!value || *value < 0 || *value > kMaxDuration)
            return refuse_(L"duration '" + text + L"' is no number of divisions");
        move_ = *value;
        return 0;
    }

    void addBeats(const std::wstring& text) {
        const auto type = decimal(text);
        if (!type || *type < 1 || *type > 128 || beats_ <= 0) {
            timeNumerator_ = -1;
            return;
        }
        // Several signatures in one (2/4+3/8) add up over a common denominator.
        const auto denominator = static_cast<std::int64_t>(*type);
        const std::int64_t common = std::lcm(timeDenominator_, denominator);
        timeNumerator_ =
            timeNumerator_ * (common / timeDenominator_) + beats_ * (common / denominator);
        timeDenominator_ = common;
        beats_ = 0;
    }

    void endTime() {
        if (!firstPart_ || measure_ < 0 || timeNumerator_ <= 0 || timeNumerator_ > 255) return;
        score_.signatures.push_back({measure_, static_cast<std::int32_t>(timeNumerator_),
                                     static_cast<std::int32_t>(timeDenominator_)});
    }

    void addTempo(std::int32_t bpm) {
        if (measure_ < 0) return;
        score_.tempos.push_back({measure_, ticks(cursor_), bpm});
    }

    // A sound plays a tempo, or marks a jump or its target.
    void takeSound(const ZRXmlTag& tag) {
        if (const auto tempo = decimal(attribute(tag, L"tempo")); tempo && *tempo > 0) {
            addTempo(bpmOf(*tempo));
            tempo_.takeSound();
        }
        const auto take = [&tag](std::wstring_view name, std::optional<std::wstring>& mark) {
            if (const std::wstring* value = tag.attribute(name); value != nullptr && !mark)
                mark = oneLine(*value);
        };
        ScoreMeasureMarks* marks = nullptr;
        for (const std::wstring_view name :
             {L"segno", L"coda", L"dalsegno", L"tocoda", L"dacapo", L"fine"})
            if (tag.attribute(name) != nullptr && (marks = marksHere()) != nullptr) break;
        if (marks == nullptr) return;
        take(L"segno", marks->segno);
        take(L"coda", marks->coda);
        take(L"dalsegno", marks->dalSegno);
        take(L"tocoda", marks->toCoda);
        marks->daCapo = marks->daCapo || attribute(tag, L"dacapo") == L"yes";
        marks->fine = marks->fine || tag.attribute(L"fine") != nullptr;
    }

    // A repeat sign or an ending of a bar line.
    void takeBarline(Element element, const ZRXmlTag& tag) {
        ScoreMeasureMarks* marks = marksHere();
        if (marks == nullptr) return;
        const std::wstring type = attribute(tag, L"type");
        if (element == Element::Ending) {
            if (type == L"start" && marks->endingStart.empty())
                marks->endingStart = passesOf(attribute(tag, L"number"));
            if (type == L"stop" || type == L"discontinue") marks->endingEnds = true;
            return;
        }
        const std::wstring direction = attribute(tag, L"direction");
        if (direction == L"forward") marks->forwardRepeat = true;
        if (direction != L"backward") return;
        const std::optional<double> times = decimal(attribute(tag, L"times"));
        marks->backwardRepeat = times && *times >= 1
                                    ? static_cast<std::int32_t>(std::min<double>(*times, kMaxPass))
                                    : 2;
    }

    ScoreMeasureMarks* marksHere() { return measure_ < 0 ? nullptr : &score_.marks[measure_]; }

    void endMeasure() {
        if (measure_ < 0) return;
        std::vector<std::int32_t>& lengths = score_.parts[part_].measureLengths;
        if (lengths.size() <= static_cast<std::size_t>(measure_))
            lengths.resize(static_cast<std::size_t>(measure_) + 1, 0);
        lengths[static_cast<std::size_t>(measure_)] = ticks(reached_);
    }

    MusicXmlScore& score_;
    Refusal& refuse_;
    std::size_t part_ = 0;
    bool firstPart_ = false;
    double divisions_ = 1;
    std::int32_t measure_ = -1;
    double cursor_ = 0;
    double reached_ = 0;
    double chordStart_ = 0;
    double move_ = 0;
    std::int64_t timeNumerator_ = 0;
    std::int64_t timeDenominator_ = 1;
    std::int64_t beats_ = 0;
    TempoMark tempo_;
};

// The lyric being read: its verse, syllable, elision and extender line.
class LyricReader {
public:
    // `before`: how many lyrics the note has already.
    void start(Element element, Element parent, const ZRXmlTag& tag, std::size_t before) {
        if (element == Element::Lyric && parent == Element::Note) {
            lyric_ = ScoreLyric{};
            elision_ = false;
            const std::optional<double> verse = decimal(attribute(tag, L"number"));
            lyric_.verse = verse && *verse >= 1 && *verse <= 1000
                               ? static_cast<std::int32_t>(*verse)
                               : static_cast<std::int32_t>(before) + 1;
        }
        if (element == Element::Elision) elision_ = parent == Element::Lyric;
        if (element == Element::Extend && parent == Element::Lyric)
            (attribute(tag, L"type") == L"stop" ? lyric_.extendEnds : lyric_.extends) = true;
    }

    // Hands a finished lyric of a note to `lyrics`.
    void end(Element element, Element parent, const std::wstring& text,
             std::vector<ScoreLyric>& lyrics) {
        if (element == Element::Syllabic && parent == Element::Lyric)
            lyric_.syllabic = syllabicOf(text);
        if (element == Element::Text && parent == Element::Lyric) addSyllable(oneLine(text));
        if (element == Element::Lyric && parent == Element::Note)
            lyrics.push_back(std::move(lyric_));
    }

private:
    void addSyllable(const std::wstring& text) {
        if (elision_ && !lyric_.text.empty() && !text.empty()) lyric_.text += L' ';
        lyric_.text += text;
        elision_ = false;
    }

    ScoreLyric lyric_;
    bool elision_ = false;
};

// The note being read (pitch, transposition, tie, chord, grace, cue, rest, voice), placed by
// the clock once it ends.
class NoteReader {
public:
    NoteReader(ScoreClock& clock, Refusal& refuse)
        : clock_(clock)
        , refuse_(refuse) {}

    void startPart() { transpose_ = 0; }
    std::vector<ScoreLyric>& lyrics() { return note_.lyrics; }

    void start(Element element, Element parent, const ZRXmlTag& tag) {
        const bool inNote = parent == Element::Note;
        switch (element) {
        case Element::Transpose:
            chromatic_ = 0;
            octaveChange_ = 0;
            break;
        case Element::Note:
            note_ = NoteState{};
            break;
        case Element::Grace:
            note_.grace = inNote;
            break;
        case Element::Cue:
            note_.cue = note_.cue || inNote;
            break;
        case Element::Chord:
            note_.chord = note_.chord || inNote;
            break;
        case Element::Rest:
            note_.rest = note_.rest || inNote;
            break;
        case Element::Tie:
        case Element::Tied:
            if (inNote || parent == Element::Other) takeTie(attribute(tag, L"type"));
            break;
        default:
            break;
        }
    }

    // `part`: the part the note belongs to; null outside any part.
    std::uint32_t end(Element element, Element parent, const std::wstring& text, ScorePart* part) {
        switch (element) {
        case Element::Chromatic:
            chromatic_ = bounded(text, kMaxChromatic);
            break;
        case Element::OctaveChange:
            octaveChange_ = bounded(text, kMaxOctaveChange);
            break;
        case Element::Transpose:
            transpose_ = std::clamp(chromatic_ + 12 * octaveChange_, -127, 127);
            break;
        case Element::Step:
        case Element::DisplayStep:
            note_.step = stepOf(text);
            break;
        case Element::Alter:
            note_.alter = std::clamp(decimal(text).value_or(0), -12.0, 12.0);
            break;
        case Element::Octave:
        case Element::DisplayOctave:
            note_.octave =
                static_cast<std::int32_t>(std::clamp(decimal(text).value_or(-99), -99.0, 99.0));
            break;
        case Element::Duration:
            return takeDuration(parent, text);
        case Element::Voice:
            if (parent == Element::Note) note_.voice = oneLine(text);
            break;
        case Element::Note:
            return endNote(part);
        default:
            break;
        }
        return 0;
    }

private:
    struct NoteState {
        bool grace = false;
        bool cue = false;
        bool chord = false;
        bool rest = false;
        bool tieStart = false;
        bool tieStop = false;
        std::int32_t step = -1;
        double alter = 0;
        std::int32_t octave = -99;
        double duration = 0;
        std::wstring voice;
        std::vector<ScoreLyric> lyrics;
    };

    void takeTie(const std::wstring& type) {
        if (type == L"start" || type == L"continue") note_.tieStart = true;
        if (type == L"stop" || type == L"continue") note_.tieStop = true;
    }

    std::uint32_t takeDuration(Element parent, const std::wstring& text) {
        const std::optional<double> value = decimal(text);
        if (parent != Element::Note) return 0;
        if (!value || *value < 0 || *value > kMaxDuration)
            return refuse_(L"duration '" + text + L"' is no number of divisions");
        note_.duration = *value;
        return 0;
    }

    std::uint32_t endNote(ScorePart* part) {
        // A grace note takes no time of its own, and a singer gives it none.
        if (note_.grace || clock_.measure() < 0 || part == nullptr) return 0;
        double start = 0;
        if (const std::uint32_t code = clock_.place(note_.duration, note_.chord, start))
            return code;
        if (note_.rest || note_.cue || note_.step < 0 || note_.octave == -99) return 0;

        const std::wstring& voiceName = note_.voice.empty() ? std::wstring(L"1") : note_.voice;
        auto voice = std::find(part->voices.begin(), part->voices.end(), voiceName);
        if (voice == part->voices.end()) {
            if (part->voices.size() == kMaxVoices)
                return refuse_(L"more than " + std::to_wstring(kMaxVoices) + L" voices in a part");
            voice = part->voices.insert(voice, voiceName);
        }
        // A microtone sounds on the nearest key, bent by the cents that remain.
        const double pitch = (note_.octave + 1) * 12 + note_.step + note_.alter + transpose_;
        const double key = std::clamp(std::round(pitch), 0.0, 127.0);
        ScoreNote& note = part->notes.emplace_back();
        note.measure = clock_.measure();
        note.start = clock_.ticks(start);
        note.end = clock_.ticks(start + note_.duration);
        note.key = static_cast<std::int32_t>(key);
        if (std::abs(pitch - key) <= 0.5)
            note.cents = static_cast<std::int32_t>(std::lround((pitch - key) * 100));
        note.voice = static_cast<std::int32_t>(voice - part->voices.begin());
        note.chord = note_.chord;
        note.tieStart = note_.tieStart;
        note.tieStop = note_.tieStop;
        note.lyrics = std::move(note_.lyrics);
        return 0;
    }

    ScoreClock& clock_;
    Refusal& refuse_;
    NoteState note_;
    std::int32_t transpose_ = 0;
    std::int32_t chromatic_ = 0;
    std::int32_t octaveChange_ = 0;
};

// Which reader follows an element: the score's own structure (parts and titles), the clock,
// the note or the lyric.
enum class Owner : std::uint8_t { Score, Clock, Note, Lyric };

Owner ownerOf(Element element, Element parent) {
    switch (element) {
    case Element::Other:
    case Element::ScorePartwise:
    case Element::ScoreTimewise:
    case Element::WorkTitle:
    case Element::MovementTitle:
    case Element::ScorePart:
    case Element::PartName:
    case Element::Part:
        return Owner::Score;
    case Element::Lyric:
    case Element::Syllabic:
    case Element::Text:
    case Element::Elision:
    case Element::Extend:
        return Owner::Lyric;
    case Element::Transpose:
    case Element::Chromatic:
    case Element::OctaveChange:
    case Element::Note:
    case Element::Grace:
    case Element::Cue:
    case Element::Chord:
    case Element::Pitch:
    case Element::Unpitched:
    case Element::Step:
    case Element::Alter:
    case Element::Octave:
    case Element::DisplayStep:
    case Element::DisplayOctave:
    case Element::Rest:
    case Element::Voice:
    case Element::Tie:
    case Element::Tied:
        return Owner::Note;
    case Element::Duration:
        return parent == Element::Backup || parent == Element::Forward ? Owner::Clock : Owner::Note;
    case Element::Measure:
    case Element::Attributes:
    case Element::Divisions:
    case Element::Time:
    case Element::Beats:
    case Element::BeatType:
    case Element::Backup:
    case Element::Forward:
    case Element::Sound:
    case Element::Direction:
    case Element::Metronome:
    case Element::BeatUnit:
    case Element::BeatUnitDot:
    case Element::PerMinute:
    case Element::Barline:
    case Element::Repeat:
    case Element::Ending:
    case Element::Segno:
    case Element::Coda:
        break;
    }
    return Owner::Clock;
}

// Follows the elements of a score-partwise document and gathers the score: the parts and the
// titles itself, each other element through the reader that owns it.
class ScoreBuilder final : public CxMusicXmlParser::Sink {
public:
    explicit ScoreBuilder(MusicXmlScore& score)
        : score_(score) {}

    std::uint32_t startElement(const ZRXmlTag& tag) override {
        const Element element = elementOf(tag.name);
        const Element parent = open_.empty() ? Element::Other : open_.back();
        if (open_.empty() && element != Element::ScorePartwise)
            return refuse_(element == Element::ScoreTimewise
                               ? L"a score-timewise document; only score-partwise is read"
                               : L"the document is no MusicXML score (root '" + tag.name + L"')");
        open_.push_back(element);
        switch (ownerOf(element, parent)) {
        case Owner::Score:
            if (element == Element::ScorePart) return selectPart(attribute(tag, L"id"), true);
            if (element == Element::Part) return startPart(attribute(tag, L"id"));
            return 0;
        case Owner::Clock:
            return clock_.start(element, parent, tag);
        case Owner::Note:
            notes_.start(element, parent, tag);
            return 0;
        case Owner::Lyric:
            lyrics_.start(element, parent, tag, notes_.lyrics().size());
            return 0;
        }
        return 0;
    }

    std::uint32_t endElement(const std::wstring&, const std::wstring& text) override {
        const Element element = open_.empty() ? Element::Other : open_.back();
        if (!open_.empty()) open_.pop_back();
        const Element parent = open_.empty() ? Element::Other : open_.back();
        switch (ownerOf(element, parent)) {
        case Owner::Score:
            endScoreElement(element, parent, text);
            return 0;
        case Owner::Clock:
            return clock_.end(element, parent, text);
        case Owner::Note:
            return notes_.end(element, parent, text,
                              current_ < score_.parts.size() ? &score_.parts[current_] : nullptr);
        case Owner::Lyric:
            lyrics_.end(element, parent, text, notes_.lyrics());
            return 0;
        }
        return 0;
    }

    std::wstring refusalReason() const override { return refuse_.reason(); }

private:
    void endScoreElement(Element element, Element parent, const std::wstring& text) {
        if (element == Element::WorkTitle) score_.title = oneLine(text);
        if (element == Element::MovementTitle && score_.title.empty()) score_.title = oneLine(text);
        if (element == Element::PartName && parent == Element::ScorePart &&
            current_ < score_.parts.size())
            score_.parts[current_].name = oneLine(text);
    }

    // Makes the part of `id` current. The part list names each part once; a part of the body
    // is found by its id, one without an id is the next of the list, and one the list lacks is
    // added to it.
    std::uint32_t selectPart(const std::wstring& id, bool listed) {
        for (std::size_t i = 0; i < score_.parts.size() && !id.empty(); ++i) {
            if (score_.parts[i].id == id) {
                current_ = i;
                return 0;
            }
        }
        if (id.empty() && !listed && partsSeen_ < score_.parts.size()) {
            current_ = partsSeen_;
            return 0;
        }
        if (score_.parts.size() == kMaxParts)
            return refuse_(L"more than " + std::to_wstring(kMaxParts) + L" parts");
        score_.parts.push_back(ScorePart{id, {}, {}, {}, {}});
        current_ = score_.parts.size() - 1;
        return 0;
    }

    std::uint32_t startPart(const std::wstring& id) {
        if (const std::uint32_t code = selectPart(id, false)) return code;
        ++partsSeen_;
        clock_.startPart(current_, partsSeen_ == 1);
        notes_.startPart();
        return 0;
    }

    MusicXmlScore& score_;
    Refusal refuse_;
    ScoreClock clock_{score_, refuse_};
    NoteReader notes_{clock_, refuse_};
    LyricReader lyrics_;
    std::vector<Element> open_;
    std::size_t current_ = 0;
    std::size_t partsSeen_ = 0;
};

// Whether the file starts as a zip archive, as a compressed score does.
bool startsAsZip(const std::wstring& path) {
    const auto file = platform::toPath(path);
    if (!file) return false;
    std::array<char, 4> head{};
    std::ifstream in(*file, std::ios::binary);
    in.read(head.data(), head.size());
    return in.gcount() == 4 && std::string_view(head.data(), 4) == std::string_view("PK\3\4", 4);
}

// Takes the name of the root element and stops the parse there.
class RootSink final : public CxMusicXmlParser::Sink {
public:
    std::uint32_t startElement(const ZRXmlTag& tag) override {
        root = tag.name;
        return ZR_E_INVALID_MUSICXML;
    }
    std::uint32_t endElement(const std::wstring&, const std::wstring&) override { return 0; }
    std::wstring refusalReason() const override { return L"the root element is read"; }

    std::wstring root;
};

// Hands a score's elements on to the builder and refuses a score of more notes than kMaxScoreNotes:
// past that, a small archive could become a song too large to load back.
class NoteCap final : public CxMusicXmlParser::Sink {
public:
    explicit NoteCap(CxMusicXmlParser::Sink& builder)
        : builder_(builder) {}

    std::uint32_t startElement(const ZRXmlTag& tag) override {
        if (tag.name == L"note" && ++notes_ > kMaxScoreNotes) {
            reason_ = L"the score holds more than " + std::to_wstring(kMaxScoreNotes) + L" notes";
            return ZR_E_INVALID_MUSICXML;
        }
        return builder_.startElement(tag);
    }
    std::uint32_t endElement(const std::wstring& name, const std::wstring& text) override {
        return builder_.endElement(name, text);
    }
    std::wstring refusalReason() const override {
        return reason_.empty() ? builder_.refusalReason() : reason_;
    }

private:
    CxMusicXmlParser::Sink& builder_;
    std::size_t notes_ = 0;
    std::wstring reason_;
};

// Reads the score at `path` into `sink`: a compressed one through its archive, which reports a
// score it cut short (damaged, or inflating past its bound) in place of the parser.
std::uint32_t readScore(const std::wstring& path, CxMusicXmlParser& parser,
                        CxMusicXmlParser::Sink& sink, std::wstring& message) {
    if (!startsAsZip(path)) return parser.parseFile(path, sink);
    CZRMusicXmlArchive archive;
    if (const std::uint32_t code = archive.open(path)) {
        message = archive.message();
        return code;
    }
    const std::uint32_t code = parser.parse(archive, path + L"!" + archive.rootFile(), sink);
    if (archive.failure() == 0) return code;
    message = archive.message();
    return archive.failure();
}

} // namespace

ZRFileFormat musicXmlFileFormat(const std::wstring& path) {
    try {
        CxMusicXmlParser parser;
        RootSink sink;
        std::wstring message;
        static_cast<void>(readScore(path, parser, sink, message));
        return sink.root == L"score-partwise" || sink.root == L"score-timewise"
                   ? ZR_FILE_FORMAT_MUSICXML
                   : ZR_FILE_FORMAT_UNKNOWN;
    } catch (const std::bad_alloc&) {
        return ZR_FILE_FORMAT_UNKNOWN;
    }
}

std::uint32_t readMusicXmlScore(const std::wstring& path, MusicXmlScore& score,
                                std::wstring& message) {
    score = MusicXmlScore{};
    message.clear();
    CxMusicXmlParser parser;
    ScoreBuilder builder(score);
    NoteCap capped(builder);
    const std::uint32_t code = readScore(path, parser, capped, message);
    if (message.empty()) message = parser.message();
    if (code == 0) message.clear();
    return code;
}

} // namespace kor
