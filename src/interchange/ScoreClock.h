// The time of a part as a MusicXML score writes it: measures, divisions, backup and forward,
// time signatures, tempos, and the marks of repeats and jumps.
#pragma once

#include "interchange/Score.h"
#include "interchange/ScoreElements.h"
#include "legacy/ConductorTrack.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <optional>
#include <string>
#include <vector>

namespace kor::score {

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

} // namespace kor::score
