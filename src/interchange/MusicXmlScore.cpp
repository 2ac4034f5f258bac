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

// Follows the elements of a score-partwise document and gathers the score.
class ScoreBuilder final : public CxMusicXmlParser::Sink {
public:
    explicit ScoreBuilder(MusicXmlScore& score)
        : score_(score) {}

    std::uint32_t startElement(const ZRXmlTag& tag) override {
        const Element element = elementOf(tag.name);
        const Element parent = open_.empty() ? Element::Other : open_.back();
        if (open_.empty() && element != Element::ScorePartwise)
            return refuse(element == Element::ScoreTimewise
                              ? L"a score-timewise document; only score-partwise is read"
                              : L"the document is no MusicXML score (root '" + tag.name + L"')");
        open_.push_back(element);
        switch (element) {
        case Element::ScorePart:
            return selectPart(attribute(tag, L"id"), true);
        case Element::Part:
            return startPart(attribute(tag, L"id"));
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
        case Element::Transpose:
            chromatic_ = 0;
            octaveChange_ = 0;
            break;
        case Element::Note:
            note_ = NoteState{};
            break;
        case Element::Grace:
            note_.grace = parent == Element::Note;
            break;
        case Element::Cue:
            note_.cue = note_.cue || parent == Element::Note;
            break;
        case Element::Chord:
            note_.chord = note_.chord || parent == Element::Note;
            break;
        case Element::Rest:
            note_.rest = note_.rest || parent == Element::Note;
            break;
        case Element::Tie:
        case Element::Tied:
            if (parent == Element::Note || parent == Element::Other)
                takeTie(attribute(tag, L"type"));
            break;
        case Element::Lyric:
            if (parent == Element::Note) startLyric(attribute(tag, L"number"));
            break;
        case Element::Elision:
            elision_ = parent == Element::Lyric;
            break;
        case Element::Extend:
            if (parent == Element::Lyric) {
                const std::wstring type = attribute(tag, L"type");
                (type == L"stop" ? lyric_.extendEnds : lyric_.extends) = true;
            }
            break;
        case Element::Backup:
        case Element::Forward:
            move_ = 0;
            break;
        case Element::Direction:
            directionTempo_ = false;
            metronomeBpm_.reset();
            break;
        case Element::Metronome:
            beatUnits_ = 0;
            beatDots_ = 0;
            beatUnit_.clear();
            perMinute_.reset();
            break;
        case Element::Sound:
            if (const auto tempo = decimal(attribute(tag, L"tempo")); tempo && *tempo > 0) {
                addTempo(bpmOf(*tempo));
                directionTempo_ = true;
            }
            break;
        default:
            break;
        }
        return 0;
    }

    std::uint32_t endElement(const std::wstring&, const std::wstring& text) override {
        const Element element = open_.empty() ? Element::Other : open_.back();
        if (!open_.empty()) open_.pop_back();
        const Element parent = open_.empty() ? Element::Other : open_.back();
        switch (element) {
        case Element::WorkTitle:
            score_.title = oneLine(text);
            break;
        case Element::MovementTitle:
            if (score_.title.empty()) score_.title = oneLine(text);
            break;
        case Element::PartName:
            if (parent == Element::ScorePart && current_ < score_.parts.size())
                score_.parts[current_].name = oneLine(text);
            break;
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
        case Element::Syllabic:
            if (parent == Element::Lyric) lyric_.syllabic = syllabicOf(text);
            break;
        case Element::Text:
            if (parent == Element::Lyric) addSyllable(oneLine(text));
            break;
        case Element::Lyric:
            if (parent == Element::Note) note_.lyrics.push_back(std::move(lyric_));
            break;
        case Element::Note:
            return endNote();
        case Element::Backup:
            cursor_ = std::max(cursor_ - move_, 0.0);
            break;
        case Element::Forward:
            cursor_ += move_;
            return advanceTo(cursor_);
        case Element::BeatUnit:
            if (parent == Element::Metronome && beatUnits_++ == 0) beatUnit_ = text;
            break;
        case Element::BeatUnitDot:
            if (beatUnits_ == 1) ++beatDots_;
            break;
        case Element::PerMinute:
            perMinute_ = decimal(text);
            break;
        case Element::Metronome:
            // A metric modulation (two beat units) says nothing of the tempo in numbers.
            if (beatUnits_ == 1 && perMinute_ && *perMinute_ > 0) {
                const double quarters = quartersOf(beatUnit_, beatDots_);
                if (quarters > 0) metronomeBpm_ = bpmOf(*perMinute_ * quarters);
            }
            break;
        case Element::Direction:
            // The sound's tempo is the one the score plays; the mark only stands in for it.
            if (!directionTempo_ && metronomeBpm_) addTempo(*metronomeBpm_);
            break;
        case Element::Measure:
            if (parent == Element::Part) endMeasure();
            break;
        default:
            break;
        }
        return 0;
    }

    std::wstring refusalReason() const override { return reason_; }

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

    static std::wstring attribute(const ZRXmlTag& tag, std::wstring_view name) {
        const std::wstring* value = tag.attribute(name);
        return value != nullptr ? *value : std::wstring();
    }

    // The whole number of `text` within -max to max; 0 for a text that is no number.
    static std::int32_t bounded(std::wstring_view text, double max) {
        return static_cast<std::int32_t>(
            std::lround(std::clamp(decimal(text).value_or(0), -max, max)));
    }

    static Syllabic syllabicOf(std::wstring_view text) {
        if (text == L"begin") return Syllabic::Begin;
        if (text == L"middle") return Syllabic::Middle;
        if (text == L"end") return Syllabic::End;
        return Syllabic::Single;
    }

    std::uint32_t refuse(std::wstring reason) {
        reason_ = std::move(reason);
        return ZR_E_INVALID_MUSICXML;
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
            return refuse(L"more than " + std::to_wstring(kMaxParts) + L" parts");
        score_.parts.push_back(ScorePart{id, {}, {}, {}, {}});
        current_ = score_.parts.size() - 1;
        return 0;
    }

    std::uint32_t startPart(const std::wstring& id) {
        if (const std::uint32_t code = selectPart(id, false)) return code;
        ++partsSeen_;
        firstPart_ = partsSeen_ == 1;
        divisions_ = 1;
        transpose_ = 0;
        measure_ = -1;
        cursor_ = 0;
        reached_ = 0;
        return 0;
    }

    std::uint32_t takeDivisions(const std::wstring& text) {
        const std::optional<double> value = decimal(text);
        if (!value || *value < kMinDivisions || *value > kMaxDivisions)
            return refuse(L"divisions '" + text +
                          L"' are no number of parts of a quarter note from 1 to 1000000000");
        // A change within a measure keeps the time already passed.
        cursor_ = cursor_ * *value / divisions_;
        reached_ = reached_ * *value / divisions_;
        chordStart_ = chordStart_ * *value / divisions_;
        move_ = 0;
        divisions_ = *value;
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

    void takeTie(const std::wstring& type) {
        if (type == L"start" || type == L"continue") note_.tieStart = true;
        if (type == L"stop" || type == L"continue") note_.tieStop = true;
    }

    void startLyric(const std::wstring& number) {
        lyric_ = ScoreLyric{};
        elision_ = false;
        const std::optional<double> verse = decimal(number);
        lyric_.verse = verse && *verse >= 1 && *verse <= 1000
                           ? static_cast<std::int32_t>(*verse)
                           : static_cast<std::int32_t>(note_.lyrics.size()) + 1;
    }

    void addSyllable(const std::wstring& text) {
        if (elision_ && !lyric_.text.empty() && !text.empty()) lyric_.text += L' ';
        lyric_.text += text;
        elision_ = false;
    }

    std::uint32_t takeDuration(Element parent, const std::wstring& text) {
        const std::optional<double> value = decimal(text);
        if (!value || *value < 0 || *value > kMaxDuration)
            return parent == Element::Note || parent == Element::Backup ||
                           parent == Element::Forward
                       ? refuse(L"duration '" + text + L"' is no number of divisions")
                       : 0;
        if (parent == Element::Note) note_.duration = *value;
        if (parent == Element::Backup || parent == Element::Forward) move_ = *value;
        return 0;
    }

    double exactTicks(double divisions) const { return divisions * kResolution / divisions_; }

    // The ticks of a position up to the furthest one reached, which advanceTo() keeps within
    // what a song can hold, so that the rounding always has a whole number to give.
    std::int32_t ticks(double divisions) const {
        return static_cast<std::int32_t>(std::llround(exactTicks(divisions)));
    }

    // Notes the furthest point the measure's content reaches. The bound is tested before any
    // rounding: a position beyond the range of a whole number would round to anything.
    std::uint32_t advanceTo(double position) {
        reached_ = std::max(reached_, position);
        if (exactTicks(reached_) > kLatestImportTick)
            return refuse(L"a measure longer than a song can hold");
        return 0;
    }

    std::uint32_t endNote() {
        // A grace note takes no time of its own, and a singer gives it none.
        if (note_.grace || measure_ < 0) return 0;
        const double start = note_.chord ? chordStart_ : cursor_;
        if (!note_.chord) {
            chordStart_ = cursor_;
            cursor_ += note_.duration;
        }
        if (const std::uint32_t code = advanceTo(start + note_.duration)) return code;
        if (note_.rest || note_.cue || note_.step < 0 || note_.octave == -99) return 0;

        ScorePart& part = score_.parts[current_];
        const std::wstring& voiceName = note_.voice.empty() ? std::wstring(L"1") : note_.voice;
        auto voice = std::find(part.voices.begin(), part.voices.end(), voiceName);
        if (voice == part.voices.end()) {
            if (part.voices.size() == kMaxVoices)
                return refuse(L"more than " + std::to_wstring(kMaxVoices) + L" voices in a part");
            voice = part.voices.insert(voice, voiceName);
        }
        const double key = (note_.octave + 1) * 12 + note_.step + note_.alter + transpose_;
        ScoreNote& note = part.notes.emplace_back();
        note.measure = measure_;
        note.start = ticks(start);
        note.end = ticks(start + note_.duration);
        note.key = static_cast<std::int32_t>(std::clamp(std::lround(key), 0L, 127L));
        note.voice = static_cast<std::int32_t>(voice - part.voices.begin());
        note.chord = note_.chord;
        note.tieStart = note_.tieStart;
        note.tieStop = note_.tieStop;
        note.lyrics = std::move(note_.lyrics);
        return 0;
    }

    void addTempo(std::int32_t bpm) {
        if (measure_ < 0) return;
        score_.tempos.push_back({measure_, ticks(cursor_), bpm});
    }

    void endMeasure() {
        if (measure_ < 0) return;
        std::vector<std::int32_t>& lengths = score_.parts[current_].measureLengths;
        if (lengths.size() <= static_cast<std::size_t>(measure_))
            lengths.resize(static_cast<std::size_t>(measure_) + 1, 0);
        lengths[static_cast<std::size_t>(measure_)] = ticks(reached_);
    }

    MusicXmlScore& score_;
    std::vector<Element> open_;
    std::wstring reason_;
    std::size_t current_ = 0;
    std::size_t partsSeen_ = 0;
    bool firstPart_ = false;
    // The time of the current part and measure, in the part's divisions.
    double divisions_ = 1;
    std::int32_t transpose_ = 0;
    std::int32_t measure_ = -1;
    double cursor_ = 0;
    double reached_ = 0;
    double chordStart_ = 0;
    double move_ = 0;
    // The element being read.
    NoteState note_;
    ScoreLyric lyric_;
    bool elision_ = false;
    std::int64_t timeNumerator_ = 0;
    std::int64_t timeDenominator_ = 1;
    std::int64_t beats_ = 0;
    std::int32_t chromatic_ = 0;
    std::int32_t octaveChange_ = 0;
    bool directionTempo_ = false;
    std::optional<std::int32_t> metronomeBpm_;
    int beatUnits_ = 0;
    int beatDots_ = 0;
    std::wstring beatUnit_;
    std::optional<double> perMinute_;
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
