// Offering the parts (or voices) of a MusicXML score for import, and importing the chosen ones.
#pragma once

#include "legacy/SongConverter.h"
#include "platform/FileSystem.h"

#include <korman/ZRFileFormat.h>

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

class CZRKorDocument;

namespace kor {
struct MusicXmlScore;
}

/// The score a survey read, kept for the import of the same file that follows it, so that an
/// import reads its score once. The score stands for the file while the file keeps its path,
/// device, inode, size and modification time. Holds one score at a time; may be shared by
/// threads.
class CxKeptScore {
public:
    /// The score kept for `path` read when the file had `stamp`, or null.
    std::shared_ptr<const kor::MusicXmlScore> find(const std::wstring& path,
                                                   const kor::platform::FileStamp& stamp) const;
    /// Keeps `score`, read from `path` when the file had `stamp`, in place of any other.
    void keep(const std::wstring& path, const kor::platform::FileStamp& stamp,
              std::shared_ptr<const kor::MusicXmlScore> score);
    /// Lets go of the score kept, if any.
    void drop();

private:
    mutable std::mutex mutex_;
    std::wstring path_;
    kor::platform::FileStamp stamp_;
    std::shared_ptr<const kor::MusicXmlScore> score_;
};

/// Imports MusicXML scores (score-partwise, plain or compressed) in two steps, as MIDI files are:
/// survey() describes each source (a part, or each voice of a part with several) as an import
/// directive; the host switches sources on or off, picks their singers and verses; importFile()
/// builds a new song from the sources switched on, one singing track with one musical part each.
///
/// How a score becomes notes: positions are at 480 ticks per quarter note; the measures are sung
/// as performed (performedOrder(): repeats, endings, D.C., D.S., To Coda and Fine followed, a
/// jump without a target and endings without a repeat left as written), or each once in written
/// order when a directive switched on asks for it; tied notes become one note; of a chord only
/// the top note is sung; grace notes, cue notes and rests are left out; a measure lasts as far as
/// its voices reach (a chord note ringing on past its bar line does not lengthen it); a pickup
/// measure (a first measure shorter than its time signature) is filled up in front, so that the
/// next measure starts on a bar line. A note between keys sounds on the nearest one, bent by the
/// remaining cents through the part's pitch control. Each note sings its syllable of the chosen
/// verse, on pass n of a repeated section the line n verses further on (syllables joined by an
/// elision share a note, with a blank between). Sung as performed, a note without that line
/// sings the line sung last while a word of it goes on, else the lowest line it has. A note
/// without a syllable sings "-", the held vowel, when the syllable before it goes on (an
/// extender, or a word not ended yet), else the default lyric "a". Tempos come from sound
/// elements, else from metronome marks; time signatures from the first part. What the import
/// does where a score is ambiguous is set out in docs/musicxml-import.md.
class CxMusicXmlImporter final : public CxSongConverter {
public:
    /// Most sources a score offers.
    static constexpr std::size_t kMaxSources = 64;

    using CxSongConverter::CxSongConverter;

    /// Replaces `directives` by one per source of the score at `path`, at most kMaxSources
    /// (message() then counts the sources left out), counting the notes as performed (as
    /// written for a score too long to perform). Returns 0, or a code of
    /// readMusicXmlScore() (`directives` is then empty and message() says where and why).
    [[nodiscard]] std::uint32_t survey(const std::wstring& path,
                                       std::vector<ZRMusicXMLPartImportDirective>& directives);

    /// Reads the sources of `directives` that are switched on into `target`, which must hold no
    /// song yet, with `preMeasure` measures (1 to 8) in front. Returns 0, or ZR_E_FILE_NOT_FOUND,
    /// ZR_E_INVALID_PARAMETER (a pre-measure out of range, directives that do not fit the score,
    /// or a target that holds a song), a code of readMusicXmlScore(), ZR_E_INVALID_MUSICXML (a
    /// song too long to hold), ZR_E_NOT_ENOUGH_MEMORY, or the code of an object the finished
    /// song fails verification on (message() then shows where). On failure `target` is empty.
    [[nodiscard]] std::uint32_t
    importFile(const std::wstring& path, std::int32_t preMeasure,
               const std::vector<ZRMusicXMLPartImportDirective>& directives,
               CZRKorDocument& target);

    /// Lets survey() keep the score it reads in `kept`, and importFile() take a score kept there
    /// for an unchanged file instead of reading it again. `kept` is borrowed and must outlive the
    /// importer.
    void keepScoresIn(CxKeptScore& kept) { kept_ = &kept; }

    /// How many times importers of this process have read a score: what shows that an import
    /// reads its score once.
    static std::uint64_t scoresRead();

private:
    /// Whether a read score is kept for the next import, or a kept score is taken.
    enum class Keeping { Keep, Take };
    /// The score at `path` into `score`: a kept one for the unchanged file, else read. 0 or a
    /// code of readMusicXmlScore(), with message() saying where and why.
    [[nodiscard]] std::uint32_t readScore(const std::wstring& path, Keeping keeping,
                                          std::shared_ptr<const kor::MusicXmlScore>& score);

    CxKeptScore* kept_ = nullptr;
};
