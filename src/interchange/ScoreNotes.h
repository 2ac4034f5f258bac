// The notes and lyrics of a part as a MusicXML score writes them: pitch, transposition, ties,
// chords, grace, cue and rest notes, voices, and each note's syllables by verse line.
#pragma once

#include "interchange/ScoreClock.h"
#include "interchange/Score.h"
#include "interchange/ScoreElements.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>
#include <vector>

namespace kor::score {

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

} // namespace kor::score
