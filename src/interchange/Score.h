// A MusicXML score as the import needs it: its parts with their notes and lyrics, and its time.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace kor {

/// Where a syllable stands in its word.
enum class Syllabic : std::uint8_t { Single, Begin, Middle, End };

/// One lyric line of a note.
struct ScoreLyric {
    std::int32_t verse = 1; ///< the lyric's number, or its place among the note's lyrics
    std::wstring text;      ///< the syllable; syllables joined by an elision stand with a blank
    Syllabic syllabic = Syllabic::Single;
    bool extends = false;    ///< an extender line starts or goes on after the note
    bool extendEnds = false; ///< an extender line ends on this note
};

/// A sounding note (grace, cue notes and rests are not kept). Ticks are at 480 per quarter note
/// from the start of its measure; the key is the sounding MIDI key (written pitch transposed).
struct ScoreNote {
    std::int32_t measure = 0;
    std::int32_t start = 0;
    std::int32_t end = 0;
    std::int32_t key = 60;
    std::int32_t cents = 0; ///< how far the written pitch lies from the key, -50 to 50
    std::int32_t voice = 0; ///< index into the part's voices
    bool chord = false;     ///< sounds with the note before it, as part of its chord
    bool tieStart = false;
    bool tieStop = false;
    std::vector<ScoreLyric> lyrics;
};

struct ScorePart {
    std::wstring id;
    std::wstring name;
    std::vector<std::wstring> voices; ///< the voice names, in order of first use
    std::vector<ScoreNote> notes;     ///< in the order of the document
    /// The ticks each measure's voices reach (notes that are no chord's second note, forward
    /// moves); 0 for an empty measure. A chord note that rings longer does not lengthen it.
    std::vector<std::int32_t> measureLengths;
};

/// The marks of one measure that steer the order a score is performed in, gathered from every
/// part. Jumps and their targets carry the name the score gives them (empty when unnamed).
struct ScoreMeasureMarks {
    bool forwardRepeat = false;
    /// How many times the section ending with this measure is played; 0: no backward repeat.
    std::int32_t backwardRepeat = 0;
    /// The passes of an ending (volta) that starts in this measure; empty: none starts here.
    std::vector<std::int32_t> endingStart;
    bool endingEnds = false; ///< an ending stops or is discontinued at this measure
    std::optional<std::wstring> segno;
    std::optional<std::wstring> coda;
    std::optional<std::wstring> dalSegno; ///< after this measure, go back to the segno
    std::optional<std::wstring> toCoda;   ///< after a jump, go on from here at the coda
    bool daCapo = false;                  ///< after this measure, go back to the start
    bool fine = false;                    ///< after a jump, the performance ends here
};

struct ScoreSignature {
    std::int32_t measure;
    std::int32_t numerator;
    std::int32_t denominator;
};

struct ScoreTempo {
    std::int32_t measure;
    std::int32_t tick; ///< from the start of the measure
    std::int32_t bpm;  ///< hundredths of quarter notes per minute
};

struct MusicXmlScore {
    std::wstring title;
    std::vector<ScorePart> parts;                    ///< in the order of the part list
    std::vector<ScoreSignature> signatures;          ///< of the first part, in document order
    std::vector<ScoreTempo> tempos;                  ///< of every part, in document order
    std::map<std::int32_t, ScoreMeasureMarks> marks; ///< by measure, of the measures with any
};

} // namespace kor
