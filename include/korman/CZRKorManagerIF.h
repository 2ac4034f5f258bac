// The manager a host editor creates to hold, change and save one song.
#pragma once

#include <korman/Export.h>
#include <korman/ZRAux.h>
#include <korman/ZRChange.h>
#include <korman/ZRFileFormat.h>
#include <korman/ZRKorManagementPolicy.h>
#include <korman/ZRMusicalSinger.h>
#include <korman/ZRVVoice.h>

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

class CZRKorManagerImpl;
class IZRAux;
class IZRKorObject;
class IZRKorEditorIF;
class IZRKorRoot;
class IZRMasterTrack;
class IZRMessageWindow;
class IZRVVoice;
class IZRVstPlugin;

/// A key of the VVoice tables: (bank select, program change).
using ZRVVoiceKey = std::pair<int, int>;

/// The manager of one song document. Construct it, call sysInitialize, then use the other calls.
///
/// Every call follows one protocol: on a manager that has never been initialized it returns its
/// "nothing" value (0, null, or 0xFFFFFFFF for IDs) at once (sysGetLastError then answers
/// ZR_E_NOT_INITIALIZED); otherwise it clears the last error, returns "nothing" with
/// ZR_E_NOT_INITIALIZED when initialization has not succeeded, and else runs, setting the last
/// error (sysGetLastError) to a code of <korman/ErrorCodes.h> when it fails. The calls named below
/// differ from that protocol as they say. No call throws.
///
/// Every call that fails sets a non-zero code and a message (sysGetLastErrorMsg): the code's
/// table text, followed by what the call knows of the cause (the value and its range, the object
/// or the path, the system's reason) and what to do, so that a host matching on the table text
/// keeps working. A lookup that finds nothing answers null or 0 as it always has, and says why.
///
/// A process may hold any number of managers and make, initialize, use and destroy them on any
/// threads at any time; one manager, with its editor, is used by one thread at a time.
class KORMAN_API CZRKorManagerIF {
public:
    /// A manager with no song, not yet initialized: call sysInitialize first.
    CZRKorManagerIF();
    /// Ends the song, the buffers and the history, and frees the editor (handed out or detached):
    /// no pointer the manager handed out may be used afterwards.
    ~CZRKorManagerIF();
    /// A manager owns its song; it cannot be copied.
    CZRKorManagerIF(const CZRKorManagerIF&) = delete;
    CZRKorManagerIF& operator=(const CZRKorManagerIF&) = delete;

    /// Initializes the manager: validates and stores the policy, creates the library's folders
    /// below the user's data folder, loads the voice database and builds the VVoice and vibrato
    /// tables. 1 on success (the last error may then be ZR_E_VVOICE_MASTER_TABLE_IS_FULL, a
    /// warning); 0 on failure, which may be retried. Once it has succeeded, later calls return 1
    /// and change nothing.
    int sysInitialize(const ZRKorManagementPolicy& policy);
    /// 1 once sysInitialize has succeeded.
    int sysIsInitialized() const;
    /// The last error; ZR_E_NOT_INITIALIZED when sysInitialize was never called. Clears nothing.
    std::uint32_t sysGetLastError() const;
    /// The message of the last error: the code's table text and the detail the failing call gave;
    /// "" (or "OK", from the file calls) after success; null when sysInitialize was never called.
    /// Valid until the next call on this manager. Clears nothing.
    const wchar_t* sysGetLastErrorMsg() const;
    /// The English message of any error code, "" for a code the library never reports; null when
    /// sysInitialize was never called. Works before initialization succeeds; clears nothing.
    const wchar_t* sysGetErrorMsg(std::uint32_t code) const;
    /// Adds a window to be told of every committed change (message ZR_WM_UPDATE). Works before
    /// initialization succeeds. 0 with ZR_E_INVALID_PARAMETER for null; 1 when added or already
    /// there. The window must outlive the manager.
    int sysRegisterObserver(IZRMessageWindow* window);
    /// Removes a window sysRegisterObserver added; it hears nothing more from this manager and
    /// need not outlive it any longer. 1 when removed; 0 with ZR_E_INVALID_PARAMETER for null, a
    /// window that is not registered, or a call made while the observers are being told of a
    /// change (from inside postMessage or a change observer). Works before initialization
    /// succeeds.
    int sysUnregisterObserver(IZRMessageWindow* window);
    /// Adds a change observer (see <korman/ZRChange.h>): after every commit, undo, redo and
    /// vvoiceNotifyObserversOfUpdates it receives what changed, object by object, and the
    /// commit's label. The manager keeps the function until sysUnregisterChangeObserver, a
    /// repeated sysInitialize or its destruction; whatever it captures must live that long.
    /// Returns the observer's handle, never 0; 0 with ZR_E_INVALID_PARAMETER for an empty
    /// function or a call made while the observers are being told of a change. Works before
    /// initialization succeeds.
    std::uint32_t sysRegisterChangeObserver(ZRChangeObserver observer);
    /// Removes the change observer of `handle` (from sysRegisterChangeObserver) and destroys its
    /// function. 1 when removed; 0 with ZR_E_INVALID_PARAMETER for a handle this manager does not
    /// hold or a call made while the observers are being told of a change.
    int sysUnregisterChangeObserver(std::uint32_t handle);
    /// Replaces the process-wide VVoice table, which new sequences take their VVoices from, and
    /// clears the default VVoice. Every entry's key must match its record, with bank select 0 to
    /// 127, program change 0 to 127, a component ID and parameters in -127 to 127. 0, changing
    /// nothing, when the table is empty or an entry is invalid. Neither reads nor sets the last
    /// error. Any thread may call it at any time: a call of any manager that is running goes on
    /// with the table it started with, and an editor already handed out keeps the table it was
    /// handed out with. The next sysInitialize of any manager rebuilds the table from the voice
    /// database.
    int sysReplaceVVoiceLibTable(const std::map<ZRVVoiceKey, ZRVVoiceLib>& table);

    // --- Files: detecting, loading, importing, saving and exporting songs ---
    // A load replaces the current song (and resets the editor, the commit history and the import
    // buffer); an import replaces only the import buffer. Both set the last error and its message
    // ("OK" on success) and, on failure, leave their target empty and return null. Paths are
    // wide text. A null path fails: ZR_E_INVALID_PARAMETER from the KOR file loads and imports,
    // ZR_E_FILE_NOT_FOUND, as for a missing file, from the legacy and MIDI ones.

    /// The kind of song file at `path`: KOR3, KOR4, a legacy song file (version up to 201 or
    /// above), a plain MIDI file of format 0 or higher, a MusicXML score (a document whose root
    /// is a MusicXML score, or a zip archive with a MusicXML container); ZR_FILE_FORMAT_UNKNOWN for
    /// anything else, for null, and before initialization. A file of no known kind sets no error;
    /// a null path sets ZR_E_INVALID_PARAMETER and a file that cannot be read ZR_E_FILE_NOT_FOUND,
    /// with the path and the system's reason. The song a KOR3 or KOR4 file holds is kept until
    /// the next load or import of a KOR file, which takes it while the file is unchanged: a
    /// detection and its load read the song once.
    ZRFileFormat fileGetFileFormat(const wchar_t* path);
    /// Loads a KOR3 or KOR4 file, read by the reader its root element names; then checks its
    /// structure, pre-measure, default style, VVoices (unknown voices are replaced, see
    /// vvoiceGetVVoiceConvertTable) and WAV part files (see fileGetDanglingWAVPartList). When the
    /// file is neither format the KOR3 reader's error is reported, with the message of the KOR4
    /// reader when the root is KOR4 (it names what is wrong), else of the KOR3 reader.
    IZRKorRoot* fileLoadKorFile(const wchar_t* path);
    /// As fileLoadKorFile into the import buffer, without the structure check.
    IZRKorRoot* fileImportKorFile(const wchar_t* path);
    /// Converts a legacy song file whose texts are in the thread's code page; files of version
    /// 201 and older get `premeasure` measures (1 to 8) in front.
    IZRKorRoot* fileLoadLegacyKorFile(const wchar_t* path, int premeasure);
    /// As above with texts in `codePage`.
    IZRKorRoot* fileLoadLegacyKorFile(const wchar_t* path, unsigned int codePage, int premeasure);
    /// As fileLoadLegacyKorFile into the import buffer, texts in the thread's code page.
    IZRKorRoot* fileImportLegacyKorFile(const wchar_t* path, int premeasure);
    /// As fileLoadLegacyKorFile into the import buffer, texts in `codePage`.
    IZRKorRoot* fileImportLegacyKorFile(const wchar_t* path, unsigned int codePage, int premeasure);
    /// Surveys the legacy song file at `path` before it is loaded: fills `survey` with the code
    /// page and the number of lines of the song's text (the singing tracks' embedded text, as the
    /// conversion reads it) that `codePage` cannot convert, which a load would bring in garbled.
    /// Changes no song. 1 on success; 0 with ZR_E_FILE_NOT_FOUND (also for a null path),
    /// ZR_E_INVALID_KOR_FILE (no legacy song file) or ZR_E_NOT_ENOUGH_MEMORY.
    int fileGetLegacySongSurvey(const wchar_t* path, unsigned int codePage,
                                ZRLegacySongSurvey& survey);
    /// Replaces `directives` by one per source of a plain MIDI file: each track (at most 32), or
    /// each of the 16 channels of a format 0 file when `channelSplit` is non-zero; names in the
    /// thread's code page. 0 with ZR_E_FILE_NOT_FOUND or ZR_E_INVALID_SMF (also for a legacy song
    /// file) when there are none.
    int fileGetSMFImportDirective(const wchar_t* path, int channelSplit,
                                  std::vector<ZRSMFTrackImportDirective>& directives);
    /// As above with names (and, at the import, lyrics) in `codePage`; each directive counts the
    /// texts of its source that `codePage` cannot convert (unconvertedTextCount).
    int fileGetSMFImportDirective(const wchar_t* path, unsigned int codePage, int channelSplit,
                                  std::vector<ZRSMFTrackImportDirective>& directives);
    /// Imports the sources `directives` switch on (at least one, at most 16, each offered by the
    /// file once) as singing tracks of one musical part each, behind `premeasure` measures.
    /// ZR_E_INVALID_PARAMETER for a pre-measure or a directive set that does not fit.
    IZRKorRoot* fileLoadSMF(const wchar_t* path, int premeasure, int channelSplit,
                            const std::vector<ZRSMFTrackImportDirective>& directives);
    /// As fileLoadSMF into the import buffer.
    IZRKorRoot* fileImportSMF(const wchar_t* path, int premeasure, int channelSplit,
                              const std::vector<ZRSMFTrackImportDirective>& directives);
    /// Replaces `directives` by one per source of a MusicXML score (score-partwise, plain or
    /// compressed): each part, or each voice of a part that has several (at most 64; the last
    /// error's message, "OK", then goes on to count the sources left out). 0 with
    /// ZR_E_FILE_NOT_FOUND, ZR_E_INVALID_XML_FILE, ZR_E_INVALID_MUSICXML or
    /// ZR_E_INVALID_MUSICXML_ARCHIVE when there are none; the last error's message then says
    /// where and why. No DTD or other file the score names is ever read.
    int fileGetMusicXMLImportDirective(const wchar_t* path,
                                       std::vector<ZRMusicXMLPartImportDirective>& directives);
    /// Imports the sources `directives` switch on (at least one, at most 16, each offered by the
    /// score once, each with a verse from 1) as singing tracks of one musical part each, behind
    /// `premeasure` measures. ZR_E_INVALID_PARAMETER for a pre-measure or a directive set that
    /// does not fit.
    IZRKorRoot* fileLoadMusicXML(const wchar_t* path, int premeasure,
                                 const std::vector<ZRMusicXMLPartImportDirective>& directives);
    /// As fileLoadMusicXML into the import buffer.
    IZRKorRoot* fileImportMusicXML(const wchar_t* path, int premeasure,
                                   const std::vector<ZRMusicXMLPartImportDirective>& directives);
    /// Saves the current song as a KOR3 file and brings the files of its WAV parts to the WAV
    /// parts folder beside it ("<name>.wavparts"); the song then belongs to `path` and counts as
    /// unmodified; a path that is a symbolic link writes the file it names. 1 on success. All or
    /// nothing: on 0 with ZR_E_FILE_IS_NOT_LOADED, ZR_E_CANNOT_SAVE_FILE or
    /// ZR_E_CANNOT_SAVE_WAV_FILE (a WAV part's file is missing or cannot be copied; parts
    /// dangling since the load are passed over) the song file and its WAV parts folder are left
    /// as they were, and so is the song.
    int fileSaveKorFile(const wchar_t* path);
    /// Writes the ZR track `trackID` of the current song as a song of its own (the master track,
    /// the VVoices and the track as track 0 with a default mixer channel). The current song is
    /// not changed. 0 with ZR_E_FILE_IS_NOT_LOADED, ZR_E_EXPORT_TARGET_NOT_FOUND or the writer's
    /// error.
    int fileExportZRTrack(std::uint32_t trackID, const wchar_t* path);
    /// As fileExportZRTrack for the musical part `partID`, placed in a new track 0.
    int fileExportMusicalPart(std::uint32_t partID, const wchar_t* path);
    /// Writes the current song as a format 1 standard MIDI file at 480 ticks per quarter: a
    /// conductor track (song name, time signatures, tempos), then one track per ZR track on
    /// channel (track number mod 16) with its name, its notes with their velocities, a lyric
    /// event before each note, dynamics as controller 11, pitch bend, and the bend sensitivity
    /// as registered parameter 0/0. The file is replaced only once it is complete; the song is
    /// not changed. 1 on success (the last error's message, "OK", then goes on to count the
    /// notes written at another length: more than 16 of one key sounding at once on a track, or
    /// shorter than 1 tick); 0 with ZR_E_FILE_IS_NOT_LOADED, ZR_E_INVALID_FILE_NAME,
    /// ZR_E_INVALID_PARAMETER (an unknown code page, a note in a pre-measure area that is
    /// dropped, or a song longer than a MIDI file can place), ZR_E_CANNOT_OPEN_FILE or
    /// ZR_E_CANNOT_SAVE_FILE.
    int fileExportSMF(const wchar_t* path, const ZRSMFExportOptions& options);
    /// Loads a song file of any kind the library reads, as fileGetFileFormat tells it, with the
    /// load of its kind: KOR3 and KOR4 as fileLoadKorFile; a legacy song file as
    /// fileLoadLegacyKorFile in the thread's code page; a MIDI file as fileLoadSMF, every track
    /// (format 0: the one track) the survey switches on, at most the first 16, singing the
    /// survey's voice; a MusicXML score as fileLoadMusicXML with the survey's directives. Legacy
    /// files of version 201 and older, MIDI files and scores get `premeasure` measures (1 to 8)
    /// in front. The current song then is the loaded one (null and the load's error on failure).
    /// A file of no known kind: null with ZR_E_INVALID_KOR_FILE naming the path; a file that
    /// cannot be read: ZR_E_FILE_NOT_FOUND; a null path: ZR_E_INVALID_PARAMETER.
    IZRKorRoot* fileLoadAny(const wchar_t* path, int premeasure = 1);
    /// 1 when the current song differs from the one last saved, loaded or created: a commit, an
    /// undo or a redo has left the commit point it was at then (undoing back to it counts as
    /// unmodified again), or a VVoice, mixer or aux call changed it (vvoiceIsModified,
    /// mixerIsModified, auxIsModified). 0 otherwise, and 0 with ZR_E_NO_SEQUENCE without a song.
    int fileIsModified() const;
    /// The file the current song was loaded from or saved to ("" for a new song); null without
    /// a current song (ZR_E_NO_SEQUENCE).
    const wchar_t* fileGetCurrentFilePath() const;
    /// What the current song was read from; ZR_FILE_FORMAT_UNKNOWN for a new song; without a
    /// current song also ZR_FILE_FORMAT_UNKNOWN, with ZR_E_NO_SEQUENCE.
    ZRFileFormat fileGetCurrentFileFormat();
    /// The file in the temporary folder that stands for a song never saved ("" once saved or
    /// loaded); null without a current song (ZR_E_NO_SEQUENCE).
    const wchar_t* fileGetTemporaryFilePath() const;
    /// The file the imported song was read from; null when the import buffer is empty
    /// (ZR_E_IMPORT_SOURCE_NOT_FOUND).
    const wchar_t* fileGetImportFilePath() const;
    /// What the imported song was read from; ZR_FILE_FORMAT_UNKNOWN when the buffer is empty
    /// (ZR_E_IMPORT_SOURCE_NOT_FOUND).
    ZRFileFormat fileGetImportFileFormat() const;
    /// The file the WAV part `wavPartID` of the current song plays: its own path when rooted,
    /// else its file name in the song's WAV parts folder. 0 when there is no such WAV part
    /// (ZR_E_EDIT_TARGET_NOT_FOUND; ZR_E_NO_SEQUENCE without a song).
    int fileGetActualWAVFilePath(std::uint32_t wavPartID, std::wstring& path) const;
    /// Replaces `ids` by the WAV parts whose files were missing or unfit when the current song was
    /// loaded; 0, leaving `ids` alone, without a current song (ZR_E_NO_SEQUENCE).
    int fileGetDanglingWAVPartList(std::vector<std::uint32_t>& ids) const;

    // --- The current song, object lookup, the copy and import buffers ---
    // Pointers handed out are borrowed. One to an object of the song stays that object, showing
    // its live values through commits, undos and redos, until an edit deletes it (it can then be
    // read until the history drops that commit) or the song is destroyed or replaced; one to a
    // buffer's object, until the buffer is emptied. IZRKorObject.h says it in full.

    /// Replaces the current song by a new one: the song name and comment (kept as the defaults
    /// when null), `premeasure` measures before the song proper (1 to 8), a 4/4 time signature,
    /// 120 beats per minute, one ZR track "Track" with its mixer channel, and one VVoice per voice
    /// of the voice database. Detaches the editor (see editGetKorEditor) and resets the commit
    /// history. Null on failure; with a pre-measure out of range (ZR_E_INVALID_PREMEASURE) the
    /// previous song stays, after any other failure (ZR_E_CANNOT_CREATE_TEMPORARY_FOLDER,
    /// ZR_E_NOT_ENOUGH_MEMORY) there is none.
    IZRKorRoot* korCreateNewSequence(const wchar_t* name, const wchar_t* comment, int premeasure);
    /// As korCreateNewSequence, plus one musical part in the first track at the end of the
    /// pre-measures, lasting `playTime` ticks, which must lie within the policy's shortest and
    /// longest play times (else null with ZR_E_INVALID_PART_PLAY_TIME, the previous song
    /// staying).
    IZRKorRoot* korCreateNewSequenceWithMusicalPart(const wchar_t* name, const wchar_t* comment,
                                                    int premeasure, const wchar_t* partName,
                                                    const wchar_t* partComment, int playTime);
    /// As korCreateNewSequenceWithMusicalPart, the part starting with the voice of `singer`.
    IZRKorRoot* korCreateNewSequenceWithMusicalPartAndSinger(
        const wchar_t* name, const wchar_t* comment, int premeasure, const wchar_t* partName,
        const wchar_t* partComment, int playTime, const ZRMusicalSinger& singer);
    /// Ends the current song, the import buffer and the VVoice update context, detaches the editor,
    /// clears the modified flags and resets the commit history.
    void korDestroySequence();
    /// The root of the current song; null with ZR_E_NO_SEQUENCE when there is none.
    IZRKorRoot* korGetCurrentSequence();
    /// The master track of the current song; null with ZR_E_NO_SEQUENCE when there is none.
    IZRMasterTrack* korGetCurrentMasterTrack();
    /// The object of the current song with that ID; null when none, with
    /// ZR_E_EDIT_TARGET_NOT_FOUND naming the ID (ZR_E_NO_SEQUENCE without a song).
    IZRKorObject* korGetKorObject(std::uint32_t objID) const;
    /// Deep-copies an object of the current song into the copy buffer and returns the copy's ID;
    /// 0xFFFFFFFF with ZR_E_EDIT_TARGET_NOT_FOUND for an unknown ID, or ZR_E_NOT_ENOUGH_MEMORY
    /// when the copy cannot be made (the root, the sequence and the mixer cannot be copied).
    std::uint32_t korCopyKorObject(std::uint32_t objID);
    /// The copy-buffer object with that ID; null with ZR_E_COPY_SOURCE_NOT_FOUND when none.
    IZRKorObject* korGetKorObjectFromCopyBuffer(std::uint32_t objID);
    /// Removes a copy (not a part of another copy) with everything below it;
    /// ZR_E_COPY_SOURCE_NOT_FOUND, removing nothing, for an ID the buffer lacks or a part of
    /// another copy.
    void korDeleteObjectFromCopyBuffer(std::uint32_t objID);
    /// Releases every copy of the copy buffer.
    void korEmptyCopyBuffer();
    /// The object of the imported song with that ID; null with ZR_E_IMPORT_SOURCE_NOT_FOUND when
    /// none or the buffer is empty.
    IZRKorObject* korGetKorObjectFromImportBuffer(std::uint32_t objID);
    /// Releases the imported song.
    void korEmptyImportBuffer();
    /// Bytes the object and everything below it occupy; 0 for an unknown ID or no song, with the
    /// error korGetKorObject sets.
    std::uint32_t korCalcSubTreeSize(std::uint32_t objID);

    // --- The editor, commits, undo and redo ---

    /// The manager's one editor, for changing the current song; `owner` is sent as wParam of the
    /// update messages while it is out. Null with ZR_E_NO_SEQUENCE when there is no song, and
    /// with ZR_E_EDIT_CONFLICT, naming the owner, when an editor is out already (one at a time).
    ///
    /// An editor commits once; later edits through it fail with ZR_E_EDITOR_COMMITTED. When the
    /// song goes (a new song, a load, korDestroySequence, a repeated sysInitialize) while the
    /// editor is out, the editor is detached, not freed: every call through it fails with
    /// ZR_E_EDITOR_DETACHED until it is released, and a new editor may be taken meanwhile. The
    /// manager frees any editor still detached when it is destroyed.
    IZRKorEditorIF* editGetKorEditor(unsigned int owner);
    /// Gives an editor back: when `editor` is the one handed out, its uncommitted changes are
    /// discarded; it, or a detached editor, is freed and `editor` is set to null. Null does
    /// nothing; any other pointer is left alone, with ZR_E_INVALID_PARAMETER.
    void editReleaseKorEditor(IZRKorEditorIF*& editor);
    /// Undoes the last commit and tells the observers which objects changed. 1 on success (also
    /// when there is nothing to undo); 0 with ZR_E_NOT_ENOUGH_MEMORY when memory is short.
    int editUndo();
    /// Redoes the commit after the present state, as editUndo.
    int editRedo();
    /// 1 when there is a commit to undo, else 0 (also without a song).
    int editCanUndo() const;
    /// 1 when there is an undone commit to redo, else 0; a new commit drops every one.
    int editCanRedo() const;
    /// The number of the present state. sysInitialize starts at 1; every commit and every reset
    /// of the history (a new or loaded song, or the current one destroyed) takes the next
    /// number, so a number is never given twice; undo and redo return to the number of the state
    /// they reach. 0 while an undo or redo, or the creation, load or import of a song, runs.
    unsigned int editGetCurrentCommitPoint() const;
    /// 1 when the object or anything below it changed since `commitPoint` (only musical content
    /// when `musicalOnly` is non-zero), also when that point was undone or forgotten.
    int editIsEdited(unsigned int objID, unsigned int commitPoint, int musicalOnly) const;
    /// Replaces `positions` by the ticks (from the song's start) of the tempos inserted, moved,
    /// changed or deleted since `commitPoint`.
    void editGetEditedTempoPosition(unsigned int commitPoint, std::vector<int>& positions) const;
    /// The label of the commit editUndo would revert (IZRKorEditorIF::commit(label)), for an
    /// Undo menu; "" when that commit has none or there is nothing to undo. Owned by the
    /// manager, valid until the next commit, undo, redo, load or new song.
    const wchar_t* editGetUndoText() const;
    /// The label of the commit editRedo would apply; "" as editGetUndoText.
    const wchar_t* editGetRedoText() const;

    // --- VVoices and aux records, changed outside the editor (no undo) ---
    // A call that fails says why: ZR_E_NO_SEQUENCE without a song, ZR_E_VVOICE_NOT_FOUND for a
    // VVoice the song lacks, the VVoice code of a value out of range (naming the value and the
    // range), ZR_E_VVOICES_ARE_DUPLICATED, ZR_E_EDIT_TARGET_NOT_FOUND for an aux record the song
    // lacks. The VVoices and aux records handed out are objects of the song, borrowed as every
    // object is: valid until a remove call takes them out or the song goes.

    /// 1 when a VVoice was inserted, updated or removed since the song was created, loaded or
    /// saved.
    int vvoiceIsModified() const;
    /// The song's first VVoice with that key; null with ZR_E_VVOICE_NOT_FOUND when none.
    IZRVVoice* vvoiceGetVVoice(int vBS, int vPC) const;
    /// Adds a VVoice: key 0 to 127 each and not yet used, a 16-character component ID, a name of 1
    /// to 256 characters, parameters in -127 to 127. 0 when refused.
    int vvoiceInsertVVoice(int vBS, int vPC, const wchar_t* compID, const wchar_t* name,
                           const ZRVVoiceParam& param);
    /// Renames and re-tunes the VVoice of that key; an empty name becomes "voice" and a longer one
    /// than 256 characters is cut. 0 when there is no such VVoice or a value is out of range.
    int vvoiceUpdateVVoice(int vBS, int vPC, const wchar_t* name, const ZRVVoiceParam& param);
    /// Removes the VVoice of that key; 0 when none, or with ZR_E_INVALID_VVOICE_NUMBER when it is
    /// the last VVoice of its voice.
    int vvoiceRemoveVVoice(int vBS, int vPC);
    /// Replaces `rows` by the VVoices that loading moved to other keys (empty for a new song).
    void vvoiceGetVVoiceConvertTable(std::vector<ZRVVoiceConvertInfo>& rows) const;
    /// Replaces `rows` by the singers that loading moved with their VVoices.
    void vvoiceGetSingerConvertTable(std::vector<ZRSingerConvertInfo>& rows) const;
    /// Starts collecting the IDs of the VVoices and VVoice lists changed from now on.
    void vvoiceInitializeUpdateContext();
    /// Sends the collected IDs to the observers (when there are any) and stops collecting.
    void vvoiceNotifyObserversOfUpdates();

    /// 1 when an aux record was added, updated or removed since the song was created, loaded or
    /// saved.
    int auxIsModified() const;
    /// Number of aux records of the song.
    int auxGetAuxNum() const;
    /// The aux record at `index` (from 0); null with ZR_E_INVALID_PARAMETER when out of range.
    IZRAux* auxGetAux(int index) const;
    /// Appends an aux record; null when there is no song.
    IZRAux* auxAddAux(const ZRAux& aux);
    /// Replaces both texts of the aux record with that ID; 0 when there is none.
    int auxUpdateAux(std::uint32_t objID, const ZRAux& aux);
    /// Removes the aux record with that ID; 0 when there is none.
    int auxRemoveAux(std::uint32_t objID);

    // --- The mixer and its VST plug-ins, changed outside the editor (no undo) ---
    // A ZR unit is addressed by its position in the mixer's ZR unit list, from 0. A getter writes
    // the unit's value and returns 1, or returns 0 leaving `value` as it was when there is no
    // song, mixer or unit (ZR_E_NO_SEQUENCE, ZR_E_NO_MIXER, ZR_E_INVALID_ZR_UNIT_ID naming the
    // position). A setter returns 1 when it stored the value, 0 (changing nothing) when the value
    // lies outside the range named (the unit's code for that value, e.g.
    // ZR_E_INVALID_ZR_UNIT_PANPOT, with a message naming the value and the range) or the unit is
    // missing. Values set here survive undo and redo of the commits made before.

    /// 1 when a mixer value or plug-in was set since the song was created, loaded or saved.
    int mixerIsModified() const;

    /// Output device, -1 (none chosen) and above.
    int mixerGetMasterOutDev(int& value) const;
    /// Sets the output device, -1 and above.
    int mixerSetMasterOutDev(int value);
    /// Master volume, -898 to 60.
    int mixerGetMasterVol(int& value) const;
    /// Sets the master volume, -898 to 60.
    int mixerSetMasterVol(int value);
    /// Send-return level, -898 to 60.
    int mixerGetMasterSrRetLevel(int& value) const;
    /// Sets the send-return level, -898 to 60.
    int mixerSetMasterSrRetLevel(int value);

    /// Input gain, -20 to 20.
    int mixerGetZRInGain(unsigned int unit, int& value) const;
    /// Sets the input gain, -20 to 20.
    int mixerSetZRInGain(unsigned int unit, int value);
    /// Send level, -898 to 60.
    int mixerGetZRSendLevel(unsigned int unit, int& value) const;
    /// Sets the send level, -898 to 60.
    int mixerSetZRSendLevel(unsigned int unit, int value);
    /// Send switch, any value.
    int mixerGetZRSendEnable(unsigned int unit, int& value) const;
    /// Sets the send switch, any value.
    int mixerSetZRSendEnable(unsigned int unit, int value);
    /// Mute, any value.
    int mixerGetZRMute(unsigned int unit, int& value) const;
    /// Sets the mute, any value.
    int mixerSetZRMute(unsigned int unit, int value);
    /// Solo, 0 or 1.
    int mixerGetZRSolo(unsigned int unit, int& value) const;
    /// Sets the solo, 0 or 1.
    int mixerSetZRSolo(unsigned int unit, int value);
    /// Pan, 0 to 128 (64 the centre).
    int mixerGetZRPan(unsigned int unit, int& value) const;
    /// Sets the pan, 0 to 128.
    int mixerSetZRPan(unsigned int unit, int value);
    /// Volume, -898 to 60.
    int mixerGetZRVol(unsigned int unit, int& value) const;
    /// Sets the volume, -898 to 60.
    int mixerSetZRVol(unsigned int unit, int value);

    /// The sound-effect unit's values, with the ranges of the ZR unit's.
    int mixerGetSEInGain(int& value) const;
    /// Sets the input gain, -20 to 20.
    int mixerSetSEInGain(int value);
    /// Send level, -898 to 60.
    int mixerGetSESendLevel(int& value) const;
    /// Sets the send level, -898 to 60.
    int mixerSetSESendLevel(int value);
    /// Send switch, any value.
    int mixerGetSESendEnable(int& value) const;
    /// Sets the send switch, any value.
    int mixerSetSESendEnable(int value);
    /// Mute, any value.
    int mixerGetSEMute(int& value) const;
    /// Sets the mute, any value.
    int mixerSetSEMute(int value);
    /// Solo, 0 or 1.
    int mixerGetSESolo(int& value) const;
    /// Sets the solo, 0 or 1.
    int mixerSetSESolo(int value);
    /// Pan, 0 to 128 (64 the centre).
    int mixerGetSEPan(int& value) const;
    /// Sets the pan, 0 to 128.
    int mixerSetSEPan(int value);
    /// Volume, -898 to 60.
    int mixerGetSEVol(int& value) const;
    /// Sets the volume, -898 to 60.
    int mixerSetSEVol(int value);

    /// The karaoke (backing track) unit's values, with the ranges of the ZR unit's.
    int mixerGetKaraokeInGain(int& value) const;
    /// Sets the input gain, -20 to 20.
    int mixerSetKaraokeInGain(int value);
    /// Mute, any value.
    int mixerGetKaraokeMute(int& value) const;
    /// Sets the mute, any value.
    int mixerSetKaraokeMute(int value);
    /// Solo, 0 or 1.
    int mixerGetKaraokeSolo(int& value) const;
    /// Sets the solo, 0 or 1.
    int mixerSetKaraokeSolo(int value);
    /// Volume, -898 to 60.
    int mixerGetKaraokeVol(int& value) const;
    /// Sets the volume, -898 to 60.
    int mixerSetKaraokeVol(int value);

    // Plug-in slots: each unit has slots 0 and 1, the master unit's send-return effect one slot of
    // its own. An empty slot holds a placeholder that is not valid (ID of four blanks).
    // - get: the valid plug-in in the slot (borrowed); null for an empty or placeholder slot.
    // - create: puts a new valid plug-in into the slot, replacing the one there; creating in slot
    //   1 of an empty list puts a placeholder into slot 0. The plug-in (borrowed), or null when
    //   the slot cannot be addressed (a ZR unit position of 16 or more never can) or `id` or
    //   `name` is null.
    // - remove: turns the plug-in into the placeholder where it stands; 0 for an empty slot.
    // - parameters, preset, enable, bypass: store the values given, unchecked, in a valid plug-in
    //   (its parameter count follows the values); 0 when the slot holds no valid plug-in.
    // Every call returns null or 0 when the slot is not 0 or 1 (ZR_E_INVALID_VST_PLUGIN_NUMBER)
    // or there is no song, mixer or unit (as the getters above); an empty slot gives
    // ZR_E_VST_PLUGIN_IS_NULL, a bad ID, SDK version or null text the plug-in code for it.

    /// The plug-in in the master unit's insert slot `slot`.
    IZRVstPlugin* mixerGetMasterVstPlugin(int slot) const;
    /// Puts a new plug-in (`id` 4 to 36 characters, SDK version 1 to 3) into the master unit's
    /// insert slot `slot`.
    IZRVstPlugin* mixerCreateMasterVstPlugin(int slot, const wchar_t* id, const wchar_t* name,
                                             int sdkVersion);
    /// Empties the master unit's insert slot `slot`.
    int mixerRemoveMasterVstPlugin(int slot);
    /// Stores the parameter values of the plug-in in the master unit's insert slot `slot`.
    int mixerSetMasterVstPluginParams(int slot, const std::vector<int>& values);
    /// Stores the preset number of the plug-in in the master unit's insert slot `slot`.
    int mixerSetMasterVstPluginPresetNo(int slot, int presetNo);
    /// Stores the enable switch of the plug-in in the master unit's insert slot `slot`.
    int mixerSetMasterVstPluginEnable(int slot, int enable);
    /// Stores the bypass switch of the plug-in in the master unit's insert slot `slot`.
    int mixerSetMasterVstPluginBypass(int slot, int bypass);

    /// The plug-in in the master unit's send-return slot.
    IZRVstPlugin* mixerGetMasterVstPluginSr() const;
    /// Puts a new plug-in (`id` 4 to 36 characters, SDK version 1 to 3) into the master unit's
    /// send-return slot.
    IZRVstPlugin* mixerCreateMasterVstPluginSr(const wchar_t* id, const wchar_t* name,
                                               int sdkVersion);
    /// Empties the master unit's send-return slot.
    int mixerRemoveMasterVstPluginSr();
    /// Stores the parameter values of the plug-in in the master unit's send-return slot.
    int mixerSetMasterVstPluginSrParams(const std::vector<int>& values);
    /// Stores the preset number of the plug-in in the master unit's send-return slot.
    int mixerSetMasterVstPluginSrPresetNo(int presetNo);
    /// Stores the enable switch of the plug-in in the master unit's send-return slot.
    int mixerSetMasterVstPluginSrEnable(int enable);
    /// Stores the bypass switch of the plug-in in the master unit's send-return slot.
    int mixerSetMasterVstPluginSrBypass(int bypass);

    /// The plug-in in slot `slot` of the ZR unit at position `unit`.
    IZRVstPlugin* mixerGetZRVstPlugin(unsigned int unit, int slot) const;
    /// Puts a new plug-in (`id` 4 to 36 characters, SDK version 1 to 3) into slot `slot` of the ZR
    /// unit at position `unit`.
    IZRVstPlugin* mixerCreateZRVstPlugin(unsigned int unit, int slot, const wchar_t* id,
                                         const wchar_t* name, int sdkVersion);
    /// Empties slot `slot` of the ZR unit at position `unit`.
    int mixerRemoveZRVstPlugin(unsigned int unit, int slot);
    /// Stores the parameter values of the plug-in in slot `slot` of the ZR unit at position `unit`.
    int mixerSetZRVstPluginParams(unsigned int unit, int slot, const std::vector<int>& values);
    /// Stores the preset number of the plug-in in slot `slot` of the ZR unit at position `unit`.
    int mixerSetZRVstPluginPresetNo(unsigned int unit, int slot, int presetNo);
    /// Stores the enable switch of the plug-in in slot `slot` of the ZR unit at position `unit`.
    int mixerSetZRVstPluginEnable(unsigned int unit, int slot, int enable);
    /// Stores the bypass switch of the plug-in in slot `slot` of the ZR unit at position `unit`.
    int mixerSetZRVstPluginBypass(unsigned int unit, int slot, int bypass);

    /// The plug-in in the SE unit's slot `slot`.
    IZRVstPlugin* mixerGetSEVstPlugin(int slot) const;
    /// Puts a new plug-in (`id` 4 to 36 characters, SDK version 1 to 3) into the SE unit's slot
    /// `slot`.
    IZRVstPlugin* mixerCreateSEVstPlugin(int slot, const wchar_t* id, const wchar_t* name,
                                         int sdkVersion);
    /// Empties the SE unit's slot `slot`.
    int mixerRemoveSEVstPlugin(int slot);
    /// Stores the parameter values of the plug-in in the SE unit's slot `slot`.
    int mixerSetSEVstPluginParams(int slot, const std::vector<int>& values);
    /// Stores the preset number of the plug-in in the SE unit's slot `slot`.
    int mixerSetSEVstPluginPresetNo(int slot, int presetNo);
    /// Stores the enable switch of the plug-in in the SE unit's slot `slot`.
    int mixerSetSEVstPluginEnable(int slot, int enable);
    /// Stores the bypass switch of the plug-in in the SE unit's slot `slot`.
    int mixerSetSEVstPluginBypass(int slot, int bypass);

    /// The plug-in in the karaoke unit's slot `slot`.
    IZRVstPlugin* mixerGetKaraokeVstPlugin(int slot) const;
    /// Puts a new plug-in (`id` 4 to 36 characters, SDK version 1 to 3) into the karaoke unit's
    /// slot `slot`.
    IZRVstPlugin* mixerCreateKaraokeVstPlugin(int slot, const wchar_t* id, const wchar_t* name,
                                              int sdkVersion);
    /// Empties the karaoke unit's slot `slot`.
    int mixerRemoveKaraokeVstPlugin(int slot);
    /// Stores the parameter values of the plug-in in the karaoke unit's slot `slot`.
    int mixerSetKaraokeVstPluginParams(int slot, const std::vector<int>& values);
    /// Stores the preset number of the plug-in in the karaoke unit's slot `slot`.
    int mixerSetKaraokeVstPluginPresetNo(int slot, int presetNo);
    /// Stores the enable switch of the plug-in in the karaoke unit's slot `slot`.
    int mixerSetKaraokeVstPluginEnable(int slot, int enable);
    /// Stores the bypass switch of the plug-in in the karaoke unit's slot `slot`.
    int mixerSetKaraokeVstPluginBypass(int slot, int bypass);

private:
    std::unique_ptr<CZRKorManagerImpl> impl_;
};
