// The kinds of song file the manager reads, and the import directives of MIDI files and scores.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

/// What kind of file fileGetFileFormat found, and what a loaded song was read from.
enum ZRFileFormat : std::int32_t {
    ZR_FILE_FORMAT_UNKNOWN = -1, ///< no kind the library reads; a new song
    ZR_FILE_FORMAT_SMF0 = 0,     ///< a standard MIDI file of format 0
    ZR_FILE_FORMAT_SMF1 = 1,     ///< a standard MIDI file of format 1 or higher
    ZR_FILE_FORMAT_LEGACY2 = 2,  ///< a legacy song file of version 201 or older
    ZR_FILE_FORMAT_LEGACY3 = 3,  ///< a legacy song file of a version above 201
    ZR_FILE_FORMAT_KOR3 = 4,     ///< a KOR3 song file
    ZR_FILE_FORMAT_KOR4 = 5,     ///< a KOR4 song file
    ZR_FILE_FORMAT_MUSICXML = 6, ///< a MusicXML score, plain or compressed
};

/// One importable source of a standard MIDI file: a track, or one channel of a single-track file
/// split by channel. fileGetSMFImportDirective fills one per source; the host switches on the
/// ones to import, picks their singers and hands the list to fileLoadSMF or fileImportSMF.
struct ZRSMFTrackImportDirective {
    /// 1 to import the source; the survey switches on every source with at least one note.
    int importSwitch = 0;
    /// The bank select of the voice the imported track sings: the default VVoice's when it is
    /// valid, else 0.
    int singerBS = 0;
    /// The program change of that voice.
    int singerPC = 0;
    /// Free for the host: empty after the survey, not read by the import.
    std::wstring text;
    /// Free for the host: empty after the survey, not read by the import.
    std::vector<int> list;
    /// Free for the host; 0 after the survey, not read by the import.
    int reserved1 = 0;
    /// Free for the host; 0 after the survey, not read by the import.
    int reserved2 = 0;
    /// Free for the host; 0 after the survey, not read by the import.
    int reserved3 = 0;
    /// Free for the host; 0 after the survey, not read by the import.
    int reserved4 = 0;
    /// The track index, or the channel (0 to 15) of a single-track file split by channel.
    int sourceIndex = 0;
    /// The text of the source's first track or instrument name (at most 32 bytes of the file's
    /// text), or "Track<n>" with n the 1-based source number when there is none or it is blank.
    std::wstring name;
    /// Tempo events found; counted for source 0 only.
    int tempoCount = 0;
    /// Time-signature events found; counted for source 0 only.
    int timeSigCount = 0;
    /// Note-ons with a velocity above 0.
    int noteCount = 0;
    /// The code page the name was converted with; the import converts the source's lyrics with it.
    int codePage = 0;
    /// Texts of the source that `codePage` cannot convert: its name (when the name's bytes, up to
    /// the cut at 32 bytes, hold a sequence that is no character of the code page) and each lyric
    /// with such a sequence. A name so lost becomes "Track<n>"; a lyric is left out, or loses
    /// only the character cut off at its end. 0 when every text converts; a host seeing more may
    /// survey again with another code page.
    int unconvertedTextCount = 0;
};

/// What fileGetLegacySongSurvey finds in a legacy song file before it is converted.
struct ZRLegacySongSurvey {
    /// The code page the song's texts were converted with.
    unsigned int codePage = 0;
    /// Lines of the singing tracks' embedded text (at most 16 tracks, as the conversion takes)
    /// that hold a byte sequence `codePage` cannot convert. The conversion keeps each byte of
    /// such a line as a character of its own, so its keys and numbers still read and only its
    /// foreign text (a name, a lyric, a comment) comes out garbled. Lines of ASCII alone always
    /// convert. 0 when every line converts.
    int unconvertedTextCount = 0;
};

/// How fileExportSMF writes the current song as a standard MIDI file.
struct ZRSMFExportOptions {
    /// Non-zero keeps the pre-measures in front of the song. 0, the default, starts the file
    /// where the song proper begins, so that importing it with the song's pre-measure count
    /// gives the song's positions back.
    int keepPreMeasure = 0;
    /// The code page of the song's name, the track names and the lyrics; UTF-8 by default.
    unsigned int codePage = 65001;
};

/// One importable source of a MusicXML score: a part, or one voice of a part that has several.
/// fileGetMusicXMLImportDirective fills one per source; the host switches on the ones to import,
/// picks their singers and verses and hands the list to fileLoadMusicXML or fileImportMusicXML.
struct ZRMusicXMLPartImportDirective {
    /// 1 to import the source; the survey switches on the first 16 sources that have notes.
    int importSwitch = 0;
    /// The bank select of the voice the imported track sings: the default VVoice's when it is
    /// valid, else 0.
    int singerBS = 0;
    /// The program change of that voice.
    int singerPC = 0;
    /// The lyric line (verse) the import gives the notes: one of `verses`, or any from 1 for a
    /// source without lyrics. The survey sets the lowest the source has (1 without lyrics).
    int verse = 1;
    /// The source's place in the survey's list, from 0.
    int sourceIndex = 0;
    /// The part's id in the score.
    std::wstring partID;
    /// The voice's name in the part; empty for every note of the part.
    std::wstring voice;
    /// The part's name, followed by " (voice <v>)" for one voice of a part; "Part<n>" with n
    /// the 1-based part number when the part has no name.
    std::wstring name;
    /// Notes the source imports as, sung as performed (tied notes count once, a chord as its top
    /// note, a repeated measure once per pass); as written when measureCount is 0.
    int noteCount = 0;
    /// Of them, notes that sing a syllable: of the verse `verse`, or on a later pass of a
    /// repeat of the line that pass sings (see asWritten).
    int lyricCount = 0;
    /// The lyric lines the source has, by their verse numbers, ascending; empty without lyrics.
    /// A line may be missing from a score (one whose only line is numbered 2 offers verse 2).
    std::vector<int> verses;
    /// 1 to import the score's measures in written order, each once, every note singing the
    /// verse `verse` only; 0 (the survey's setting) to sing the score as performed: repeats,
    /// endings (voltas), D.C., D.S., To Coda and Fine followed, each pass of a repeated section
    /// singing its own lyric line. The tracks of one song share its measures, so one directive
    /// switched on with 1 gives the written order to every track.
    int asWritten = 0;
    /// How many measures the score has as performed (repeats and jumps unfolded); 0 when the
    /// score as performed is longer than a song can hold (it imports as written only, and the
    /// survey's counts are of the written order).
    int measureCount = 0;
    /// 1 when the score marks a repeat, an ending or a jump (D.C., D.S.), else 0.
    int hasRepeats = 0;
};
