// One source of a MusicXML score (a part, or one voice of it) read into the notes a singer sings,
// over the measures of the song in the order they are sung.
#pragma once

#include "interchange/MusicXmlScore.h"
#include "interchange/ScorePerformance.h"
#include "legacy/SongConverter.h"
#include "model/MusicalNote.h"
#include "platform/XmlChars.h"

#include <algorithm>
#include <cstdint>
#include <set>
#include <string>
#include <vector>

namespace kor::score {

// The velocity of every note a score gives a song.
inline constexpr std::int32_t kVelocity = 64;
// How many notes back a tie looks for the note it continues: the notes of a chord the voice
// holds, at most.
inline constexpr std::size_t kTieReach = 8;
inline const std::wstring kDefaultLyric = L"a";
inline const std::wstring kHeldVowel = L"-";

// The song's tick of `tick` within the measure sung at `slot` (past the last: where the song
// ends).
inline std::int64_t songTick(const std::vector<std::int64_t>& starts, std::size_t slot,
                             std::int32_t tick) {
    return starts[std::min(slot, starts.size() - 1)] + tick;
}

// The measures a song sings, in order (as written or as performed), and where each starts in
// the song, and after them where the score ends.
struct Performance {
    std::vector<kor::PerformedMeasure> order;
    std::vector<std::int64_t> starts;
    std::vector<const kor::ScoreSignature*> signatures; ///< in force, by written measure
    bool asWritten = false;
};

struct SourceNotes {
    std::vector<kor::SourceNote> notes;
    std::vector<std::int32_t> cents; ///< of each note: how far its pitch lies from its key
    int lyricCount = 0;
};

// The syllable a note sings, in the form a saved song gives it back; empty when it has none.
inline std::wstring syllableOf(const kor::ScoreLyric* lyric) {
    if (lyric == nullptr) return {};
    std::wstring text = kor::platform::storedText(lyric->text);
    // A cut may end on the blank between elided syllables, which a saved song would not keep.
    if (text.size() > static_cast<std::size_t>(CZRMusicalNote::kMaxTextLength))
        text.resize(CZRMusicalNote::kMaxTextLength);
    while (!text.empty() && text.back() == L' ')
        text.pop_back();
    return text;
}

// The lyric lines (verse numbers) that the notes of `voice` (-1: every voice) of `part` carry.
inline std::set<std::int32_t> lyricLines(const kor::ScorePart& part, std::int32_t voice) {
    std::set<std::int32_t> lines;
    for (const kor::ScoreNote& note : part.notes)
        if (voice < 0 || note.voice == voice)
            for (const kor::ScoreLyric& lyric : note.lyrics)
                lines.insert(lyric.verse);
    return lines;
}

// Why a source whose lyrics have `lines` cannot sing `verse`, or "" when it can: a source with
// lyrics sings one of its own lines, rather than another line in place of the one asked for; a
// source without lyrics sings no words, whatever verse from 1 it is given.
inline std::wstring verseMisfit(std::int32_t verse, const std::set<std::int32_t>& lines) {
    if (lines.empty() ? verse >= 1 : lines.contains(verse)) return {};
    const std::wstring asked = L"its verse " + std::to_wstring(verse);
    if (lines.empty()) return asked + L" is below 1";
    std::wstring listed;
    for (const std::int32_t line : lines)
        listed += (listed.empty() ? L"" : L", ") + std::to_wstring(line);
    return asked + L" is not a lyric line of the source, which has " +
           (lines.size() == 1 ? L"line " : L"lines ") + listed;
}

// A chord as it is sung, by its top note (a note on its own is a chord of one); its notes, which
// give it their syllables, are the part's notes first to last of its voice.
struct Chord {
    std::int32_t start;
    std::int32_t end;
    std::int32_t key;
    std::int32_t cents;
    bool tieStart;
    bool tieStop;
    std::size_t first;
    std::size_t last;
};

// A chord sung at a place of the song, on the lyric line of its pass.
struct Sung {
    std::int64_t start;
    std::int64_t end;
    const Chord* chord;
    std::int32_t line;
};

// Turns one source of a score into the notes a singer sings, in named passes: the top notes of
// chords, the unfolding of the measures as performed, the merging of tied notes and the
// syllables.
class SourceReading {
public:
    SourceReading(const kor::ScorePart& part, std::int32_t voice, const Performance& performance)
        : part_(part)
        , voice_(voice)
        , performance_(performance) {}

    SourceNotes notes(std::int32_t verse) {
        topNotes();
        const std::vector<Sung> sung = unfold(verse);
        return syllables(mergeTies(sung));
    }

private:
    // A chord sings its top note, with the syllables any of its notes carries.
    void topNotes() {
        chords_.assign(performance_.signatures.size(), {});
        for (std::size_t i = 0; i < part_.notes.size(); ++i) {
            const kor::ScoreNote& note = part_.notes[i];
            if (!ofVoice(note) || note.measure < 0 ||
                static_cast<std::size_t>(note.measure) >= chords_.size())
                continue;
            std::vector<Chord>& measure = chords_[static_cast<std::size_t>(note.measure)];
            const Chord next{note.start,    note.end,     note.key, note.cents,
                             note.tieStart, note.tieStop, i,        i};
            if (note.chord && !measure.empty() && measure.back().start == note.start) {
                Chord& top = measure.back();
                if (note.key > top.key)
                    top = Chord{next.start,    next.end,     next.key,  next.cents,
                                next.tieStart, next.tieStop, top.first, i};
                top.last = i;
                continue;
            }
            measure.push_back(next);
        }
    }

    // Every measure as often as it is sung, in order; a pass of a repeated section sings the
    // line of its pass counted from `verse`.
    std::vector<Sung> unfold(std::int32_t verse) const {
        std::vector<Sung> sung;
        for (std::size_t slot = 0; slot < performance_.order.size(); ++slot) {
            const kor::PerformedMeasure& measure = performance_.order[slot];
            for (const Chord& chord : chords_[static_cast<std::size_t>(measure.measure)])
                sung.push_back({songTick(performance_.starts, slot, chord.start),
                                songTick(performance_.starts, slot, chord.end), &chord,
                                verse + measure.pass - 1});
        }
        std::stable_sort(sung.begin(), sung.end(),
                         [](const Sung& a, const Sung& b) { return a.start < b.start; });
        return sung;
    }

    // A note tied from the one before it on the same key lengthens that one, unless it brings
    // a syllable of its own.
    std::vector<Sung> mergeTies(const std::vector<Sung>& sung) const {
        struct Held {
            Sung note;
            bool tieOpen;
        };
        std::vector<Held> held;
        for (const Sung& note : sung) {
            if (note.end <= note.start) continue;
            bool merged = false;
            const bool bringsSyllable =
                !syllableOf(lyricOf(note, note.line)).empty() ||
                (!performance_.asWritten && !syllableOf(lowest(note)).empty());
            if (note.chord->tieStop && !bringsSyllable) {
                for (std::size_t back = 0; back < std::min(held.size(), kTieReach) && !merged;
                     ++back) {
                    Held& before = held[held.size() - 1 - back];
                    if (before.tieOpen && before.note.chord->key == note.chord->key &&
                        std::abs(before.note.end - note.start) <= 1) {
                        before.note.end = note.end;
                        before.tieOpen = note.chord->tieStart;
                        merged = true;
                    }
                }
            }
            if (!merged) held.push_back({note, note.chord->tieStart});
        }
        std::vector<Sung> merged;
        for (const Held& entry : held)
            merged.push_back(entry.note);
        return merged;
    }

    // Each note sings its syllable of its line. Sung as performed, a note without one sings the
    // line sung last while a word of it goes on, else the lowest line it has. A note left
    // without a syllable sings the held vowel while a word goes on, else the default lyric.
    SourceNotes syllables(const std::vector<Sung>& sung) const {
        SourceNotes out;
        bool wordGoesOn = false;
        std::int32_t lastLine = 0;
        for (const Sung& note : sung) {
            const kor::ScoreLyric* chosen = lyricOf(note, note.line);
            if (chosen == nullptr && !performance_.asWritten)
                chosen = wordGoesOn ? lyricOf(note, lastLine) : lowest(note);
            std::wstring lyric = syllableOf(chosen);
            if (!lyric.empty()) {
                ++out.lyricCount;
                lastLine = chosen->verse;
                wordGoesOn = chosen->extends || chosen->syllabic == kor::Syllabic::Begin ||
                             chosen->syllabic == kor::Syllabic::Middle;
            } else {
                const bool extended = chosen != nullptr && (chosen->extends || chosen->extendEnds);
                lyric = wordGoesOn || extended ? kHeldVowel : kDefaultLyric;
                if (chosen != nullptr && chosen->extendEnds) wordGoesOn = false;
                if (chosen != nullptr && chosen->extends) wordGoesOn = true;
            }
            out.notes.push_back({static_cast<std::int32_t>(note.start),
                                 static_cast<std::int32_t>(note.end - note.start), note.chord->key,
                                 kVelocity, std::move(lyric)});
            out.cents.push_back(note.chord->cents);
        }
        return out;
    }

    bool ofVoice(const kor::ScoreNote& note) const { return voice_ < 0 || note.voice == voice_; }

    // The lyric of `line` the first of the chord's notes to have one carries.
    const kor::ScoreLyric* lyricOf(const Sung& sung, std::int32_t line) const {
        for (std::size_t i = sung.chord->first; i <= sung.chord->last; ++i)
            if (ofVoice(part_.notes[i]))
                for (const kor::ScoreLyric& lyric : part_.notes[i].lyrics)
                    if (lyric.verse == line) return &lyric;
        return nullptr;
    }

    // The lyric of the lowest line among the chord's notes.
    const kor::ScoreLyric* lowest(const Sung& sung) const {
        const kor::ScoreLyric* found = nullptr;
        for (std::size_t i = sung.chord->first; i <= sung.chord->last; ++i)
            if (ofVoice(part_.notes[i]))
                for (const kor::ScoreLyric& lyric : part_.notes[i].lyrics)
                    if (found == nullptr || lyric.verse < found->verse) found = &lyric;
        return found;
    }

    const kor::ScorePart& part_;
    std::int32_t voice_;
    const Performance& performance_;
    std::vector<std::vector<Chord>> chords_; // by written measure
};

} // namespace kor::score
