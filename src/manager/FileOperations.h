// Reading songs into the manager: format detection, loading into the current song, importing into
// the import buffer, the surveys of MIDI files and scores, and the queries about WAV part files.
#pragma once

#include <korman/ZRFileFormat.h>
#include <korman/ZRKorManagementPolicy.h>

#include <cstdint>
#include <string>
#include <vector>

class CZRKorManagerImpl;
class CZRKorRoot;

namespace kor {

/// Where a read song goes: it replaces the current song (the editor and the commit history start
/// over) or the content of the import buffer.
enum class LoadTarget { CurrentSong, ImportBuffer };

class KeptSong;

/// What kind of song file stands at `path`: a KOR3 or KOR4 file (read whole with the schemas of
/// `policy`, by the reader its root element names), else what midiFileFormat() finds, else what
/// musicXmlFileFormat() finds. ZR_FILE_FORMAT_UNKNOWN for null. The song of a KOR3 or KOR4 file
/// is kept in `keep` when given, for the load of the file that follows.
ZRFileFormat fileFormatOf(const ZRKorManagementPolicy& policy, const wchar_t* path,
                          KeptSong* keep = nullptr);

/// How many times managers of this process have read a KOR3 or KOR4 file whole: what shows that
/// a detection and the load that follows read the song once.
std::uint64_t songFilesRead();

// Every load below holds the commit history for its whole run, empties its target first, and
// sets the manager's last error and message: 0 and "OK" on success, else the code with the
// reader's detailed message when it gave one, the code's text otherwise. The result is the root
// of the song now in the target (borrowed), or null with the target left empty.

/// Reads a KOR3 or KOR4 file with the reader its root element names, or takes the song the last
/// detection kept for the unchanged file, and checks it: its structure (current song only),
/// pre-measure, default style, VVoices and WAV parts. A file whose root names neither format is
/// reported as the KOR3 reader finds it; one whose root is KOR4 but that is no KOR4 song, with the
/// KOR3 reader's code for such a file and the KOR4 reader's message.
CZRKorRoot* loadKorFile(CZRKorManagerImpl& manager, const wchar_t* path, LoadTarget target);

/// Converts a legacy song file (texts in `codePage`, `preMeasure` measures in front of older
/// versions) and checks its structure, pre-measure and VVoices.
CZRKorRoot* loadLegacyFile(CZRKorManagerImpl& manager, const wchar_t* path, unsigned codePage,
                           int preMeasure, LoadTarget target);

/// Fills `survey` with what converting the legacy song file at `path` with `codePage` would lose.
/// False, with the last error set (ZR_E_FILE_NOT_FOUND, ZR_E_INVALID_KOR_FILE,
/// ZR_E_NOT_ENOUGH_MEMORY), when the file is no legacy song file.
bool surveyLegacyFile(CZRKorManagerImpl& manager, const wchar_t* path, unsigned codePage,
                      ZRLegacySongSurvey& survey);

/// Imports the sources of a MIDI file that `directives` switch on, and checks its structure.
CZRKorRoot* loadSmf(CZRKorManagerImpl& manager, const wchar_t* path, int preMeasure,
                    int channelSplit, const std::vector<ZRSMFTrackImportDirective>& directives,
                    LoadTarget target);

/// Replaces `directives` by the import directives of the MIDI file at `path`. False, with the
/// last error set (ZR_E_FILE_NOT_FOUND, ZR_E_INVALID_SMF), when the file offers none.
bool surveySmf(CZRKorManagerImpl& manager, const wchar_t* path, unsigned codePage, int channelSplit,
               std::vector<ZRSMFTrackImportDirective>& directives);

/// Imports the sources of a MusicXML score that `directives` switch on, and checks its structure.
/// The score the last surveyMusicXml() read is taken when the file has not changed since, so a
/// survey and the import that follows read the score once.
CZRKorRoot* loadMusicXml(CZRKorManagerImpl& manager, const wchar_t* path, int preMeasure,
                         const std::vector<ZRMusicXMLPartImportDirective>& directives,
                         LoadTarget target);

/// Replaces `directives` by the import directives of the MusicXML score at `path`. False, with
/// the last error and the reader's message set, when the score offers none.
bool surveyMusicXml(CZRKorManagerImpl& manager, const wchar_t* path,
                    std::vector<ZRMusicXMLPartImportDirective>& directives);

/// The file the WAV part `objID` of the current song plays; false when there is no such part.
bool actualWavFilePath(const CZRKorManagerImpl& manager, std::uint32_t objID, std::wstring& path);

} // namespace kor
