// The editor through which a host changes the current song, commit by commit.
#pragma once

#include <korman/Export.h>
#include <korman/ZREditValues.h>

#include <cstdint>
#include <string>
#include <vector>

/// Obtained from the manager (editGetKorEditor) and given back to it (editReleaseKorEditor); the
/// manager owns it. Edit operations never touch the live song: each records its target in an
/// edit record holding a private copy and changes that copy. commit() then applies every record
/// in one step behind a new commit point that undo and redo can go back and forth over.
///
/// Every operation first clears the editor's last error; it returns nonzero on success and 0 on
/// failure, leaving one code of <korman/ErrorCodes.h> in getLastError() and a message in
/// getLastErrorMessage(): the code's table text, followed, where the operation knows it, by what
/// went wrong (the value and its range, the two records of a conflict) and what avoids it. The
/// manager's last error is never touched. Insert operations do not return the new object's ID.
/// Records obtained by an operation that later fails stay pending and are committed or discarded
/// with the others. One thread at a time uses an editor. No operation throws.
///
/// An editor commits once. After its commit every edit fails with ZR_E_EDITOR_COMMITTED, so that
/// nothing the host asks for is taken and then dropped: release the editor and take a new one.
///
/// When the song the editor edits goes (a new song, a load, korDestroySequence, a repeated
/// sysInitialize) while the host still holds the editor, the editor is detached, not freed: its
/// pending records are dropped, and every operation through it, commit and discard included,
/// fails with ZR_E_EDITOR_DETACHED. The host releases it with editReleaseKorEditor, which frees it
/// and nulls the pointer; a new editor can be taken meanwhile. The manager frees any editor still
/// detached when it is destroyed, so no editor pointer may be used after its manager is gone.
class KORMAN_API IZRKorEditorIF {
public:
    /// Files every pending record as one commit and applies it; observers hear of it. An editor
    /// commits once: later calls return 1 and change nothing, and edits after the first commit
    /// fail (ZR_E_EDITOR_COMMITTED). Nothing pending: 1, nothing done. Short of memory:
    /// 0 with ZR_E_NOT_ENOUGH_MEMORY, and the pending records are discarded.
    virtual int commit() = 0;
    /// Drops every pending record; the song is untouched. A detached editor leaves
    /// ZR_E_EDITOR_DETACHED.
    virtual void discard() = 0;
    /// The code the last operation left: 0 after success, else a code of <korman/ErrorCodes.h>.
    virtual std::uint32_t getLastError() const = 0;
    /// The message of getLastError(): the code's table text, followed by the detail the failing
    /// operation gave, so that matching on the table text keeps working ("OK" after success).
    /// Valid until the next call through this editor.
    virtual const wchar_t* getLastErrorMessage() const = 0;
    /// The English message of `code`; "" for a code the library never reports.
    virtual const wchar_t* getErrorMessage(std::uint32_t code) const = 0;

    // Time signatures (they record the whole master track). Numerator outside 1 to 255 or a
    // denominator other than 1, 2, 4, 8, 16, 32: ZR_E_INVALID_TIME_SIGNATURE_VALUE; negative
    // measure: ZR_E_INVALID_TIME_SIGNATURE_POSITION. A change inside the pre-measure area that
    // alters its length moves every tempo from the area's old end on (but the head tempo), every
    // part of the ZR tracks and every WAV part by the difference in ticks. A tempo that would move
    // before the area's old end is dropped: when the area shrinks by n ticks, the tempos of the
    // first n ticks after its old end (one at the song's start among them) go. When that move
    // cannot be made: ZR_E_UPDATE_FAILED, nothing changed. Because they record the whole master
    // track, they fail with ZR_E_EDIT_CONFLICT after a tempo edit through the same editor (the
    // reverse order works): make the time signature edits first, or the tempo edits through a
    // second editor after this one's commit.
    /// Sets numerator and denominator; the measure in `value` is ignored.
    virtual int updateTimeSig(std::uint32_t timeSigID, const ZRTimeSigValue& value) = 0;
    /// Sets measure and values. The head time signature (measure 0) cannot move
    /// (ZR_E_HEAD_EVENT_UPDATE_NOT_ALLOWED); another one at the new measure:
    /// ZR_E_TIME_SIGNATURES_ARE_DUPLICATED.
    virtual int moveTimeSig(std::uint32_t timeSigID, const ZRTimeSigValue& value) = 0;
    /// Inserts into the master track's list; one already at that measure takes the new values.
    /// No master track: ZR_E_NO_MASTER_TRACK.
    virtual int insertTimeSig(const ZRTimeSigValue& value) = 0;
    /// Removes a time signature; the head one stays and is reset to 4/4.
    virtual int deleteTimeSig(std::uint32_t timeSigID) = 0;

    // Tempos. A negative position given to moveTempo or insertTempo:
    // ZR_E_INVALID_TEMPO_POSITION.
    /// Sets the tempo value of a tempo; the position in `value` is neither used nor checked.
    /// Tempo outside 2000 to 30000: ZR_E_INVALID_TEMPO_VALUE.
    virtual int updateTempo(std::uint32_t tempoID, const ZRTempoValue& value) = 0;
    /// Sets position and tempo. The head tempo (at tick 0) cannot move
    /// (ZR_E_HEAD_EVENT_UPDATE_NOT_ALLOWED); another tempo at the new position:
    /// ZR_E_TEMPOS_ARE_DUPLICATED.
    virtual int moveTempo(std::uint32_t tempoID, const ZRTempoValue& value) = 0;
    /// Inserts a tempo into the master track's tempo list; a tempo already at that position takes
    /// the new value instead.
    virtual int insertTempo(const ZRTempoValue& value) = 0;
    /// Removes a tempo; the head tempo stays and is reset to 120.00 (12000). A tempo already
    /// removed by this editor is left alone (success).
    virtual int deleteTempo(std::uint32_t tempoID) = 0;

    // The pre-measure area.
    /// Fills the vectors (cleared first) with the IDs of the time signatures (measure below the
    /// pre-measure count) and tempos (tick below the area's end) inside the pre-measure area of
    /// the live song, the head ones left out. Records nothing, so it also works after the commit.
    virtual int listPreMeasureEvents(std::uint32_t masterTrackID,
                                     std::vector<std::uint32_t>& timeSigIDs,
                                     std::vector<std::uint32_t>& tempoIDs) = 0;
    /// Sets the number of pre-measures (1 to 8, else ZR_E_INVALID_PREMEASURE) and moves the song
    /// after the area as a time signature change does (ZR_E_UPDATE_FAILED when it cannot).
    virtual int setPreMeasure(std::uint32_t masterTrackID, std::int32_t preMeasure) = 0;

    // Singers of a musical part. The voice must be in the sequence's VVoice table
    // (ZR_E_VVOICE_NOT_FOUND); a negative position given to a move or an insert:
    // ZR_E_INVALID_SINGER_POSITION.
    /// Sets the voice; the position in `value` is ignored.
    virtual int updateSinger(std::uint32_t singerID, const ZRSingerValue& value) = 0;
    /// Sets position and voice. The head singer (at tick 0) cannot move
    /// (ZR_E_HEAD_EVENT_UPDATE_NOT_ALLOWED); another singer at the new position:
    /// ZR_E_SINGERS_ARE_DUPLICATED.
    virtual int moveSinger(std::uint32_t singerID, const ZRSingerValue& value) = 0;
    /// Inserts into a musical part's singer list; a singer already at that position takes the
    /// new voice.
    virtual int insertSinger(std::uint32_t singerListID, const ZRSingerValue& value) = 0;
    /// Removes a singer; the head singer stays and takes the default VVoice.
    virtual int deleteSinger(std::uint32_t singerID) = 0;

    // Part style attributes.
    /// Stores `value` under the style ID `styleID` (1 to 256 characters, else
    /// ZR_E_INVALID_PART_STYLE_ATTRIBUTE_ID) in a part style.
    virtual int setPartStyleAttrib(std::uint32_t attribID, const std::wstring& styleID,
                                   std::int32_t value) = 0;
    /// Removes every value of a part style.
    virtual int clearPartStyleAttrib(std::uint32_t attribID) = 0;

    // Style controls of a musical part, kept in one list per name. Moves and inserts: a position
    // below 0 or beyond the policy's maxNoteTick gives ZR_E_INVALID_STYLE_CONTROL_POSITION. The
    // name in the value must be that of the control's list (ZR_E_INVALID_STYLE_CONTROL_ID).
    // Updates set the value only; moves refuse a position another control holds
    // (ZR_E_STYLE_CONTROLS_ARE_DUPLICATED); an insert at a taken position sets that control's
    // value.
    /// Sets the value of a style control; the position in `value` is neither used nor checked.
    virtual int updateStyleControl(std::uint32_t controlID, const ZRStyleControlValue& value) = 0;
    /// Sets position and value of a style control.
    virtual int moveStyleControl(std::uint32_t controlID, const ZRStyleControlValue& value) = 0;
    /// Inserts a style control into the list `listID` that a musical part keeps under the value's
    /// name, or sets the value of the control already at that position. ZR_E_UPDATE_FAILED when
    /// the new control cannot be made.
    virtual int insertStyleControl(std::uint32_t listID, const ZRStyleControlValue& value) = 0;
    /// Removes a style control from its list; one already removed by this editor is left alone
    /// (success).
    virtual int deleteStyleControl(std::uint32_t controlID) = 0;

    // Musical controls of a musical part, kept in one list per kind. Moves and inserts: a
    // position below 0 or beyond the policy's maxNoteTick gives
    // ZR_E_INVALID_MUSICAL_CONTROL_POSITION. The kind in the value must be 0 to 6 and that of the
    // control's list (ZR_E_INVALID_MUSICAL_CONTROL_ID). Updates set the value only; moves refuse
    // a position another control holds (ZR_E_MUSICAL_CONTROLS_ARE_DUPLICATED); an insert at a
    // taken position sets that control's value.
    /// Sets the value of a musical control; the position in `value` is neither used nor checked.
    virtual int updateMusicalControl(std::uint32_t controlID,
                                     const ZRMusicalControlValue& value) = 0;
    /// Sets position and value of a musical control.
    virtual int moveMusicalControl(std::uint32_t controlID, const ZRMusicalControlValue& value) = 0;
    /// Inserts a musical control into the control list `listID` of a musical part (the list of the
    /// value's kind), or sets the value of the control already at that position.
    /// ZR_E_UPDATE_FAILED when the new control cannot be made.
    virtual int insertMusicalControl(std::uint32_t listID, const ZRMusicalControlValue& value) = 0;
    /// Removes a musical control from its list; one already removed by this editor is left alone
    /// (success).
    virtual int deleteMusicalControl(std::uint32_t controlID) = 0;

    // Note styles.
    /// Sets the seven singing-style values of the note style `attribID` (a note's
    /// getNoteStyle()); its vibrato values stay. ZR_E_INVALID_T2_NOTE_STYLE when bendDep, bendLen,
    /// decay or accent lies outside 0 to 100 or opening outside 0 to 127.
    virtual int updateNoteStyleAttrib(std::uint32_t attribID, const ZRNoteStyleValue& value) = 0;
    /// Sets the value of a point of a note's style curve; its position in `value` is neither used
    /// nor checked.
    virtual int updateNoteStyleSeqAttribElement(std::uint32_t elementID,
                                                const ZRNoteStyleSeqAttribElementValue& value) = 0;
    /// Sets position and value of a curve point.
    /// ZR_E_INVALID_SEQUENTIAL_NOTE_STYLE_ATTRIBUTE_POSITION for a position outside 0 to 65536,
    /// ZR_E_SEQUENTIAL_NOTE_STYLE_ATTRIBUTES_ARE_DUPLICATED when another point of the curve sits
    /// there.
    virtual int moveNoteStyleSeqAttribElement(std::uint32_t elementID,
                                              const ZRNoteStyleSeqAttribElementValue& value) = 0;
    /// Inserts a point into the curve `listID` (an element list of a note's sequential style), or
    /// sets the value of the point already at that position.
    /// ZR_E_INVALID_SEQUENTIAL_NOTE_STYLE_ATTRIBUTE_POSITION for a position outside 0 to 65536,
    /// ZR_E_UPDATE_FAILED when the new point cannot be made.
    virtual int insertNoteStyleSeqAttribElement(std::uint32_t listID,
                                                const ZRNoteStyleSeqAttribElementValue& value) = 0;
    /// Removes a point from its curve; one already removed by this editor is left alone (success).
    virtual int deleteNoteStyleSeqAttribElement(std::uint32_t elementID) = 0;

    // Notes.
    /// Gives a note the vibrato `value`: its "vibType" and "vibLen" style values and its "vibDep"
    /// and "vibRate" curves, taken from the voice database's vibrato kind (empty for a kind it
    /// lacks). ZR_E_INVALID_VIBRATO for a length outside 0 to 100 or a kind outside 0 to 16;
    /// ZR_E_EDIT_TARGET_NOT_T2_STYLE for a note without both a style and a sequential style;
    /// ZR_E_UPDATE_FAILED when the curves cannot be rebuilt.
    virtual int updateNoteVibrato(std::uint32_t noteID, const ZRVibratoValue& value) = 0;
    /// Sets every attribute of a note but its position, which is neither used nor checked. The
    /// value must pass the note checks: ZR_E_INVALID_NOTE_DURATION (below 1),
    /// ZR_E_INVALID_NOTE_NUMBER and ZR_E_INVALID_NOTE_VELOCITY (outside 0 to 127),
    /// ZR_E_INVALID_LYRIC (not 1 to 32 characters), ZR_E_INVALID_PHONEME (no phoneme, one
    /// not 1 to 32 characters, or more than 32 characters joined with blanks);
    /// ZR_E_INVALID_NOTE_POSITION when the note would end past the policy's maxNoteTick.
    virtual int updateNote(std::uint32_t noteID, const ZRNoteValue& value) = 0;
    /// Sets every attribute of a note, its position (ticks from the part's start, at least 0)
    /// included, with the checks of updateNote. Notes may share a position.
    virtual int moveNote(std::uint32_t noteID, const ZRNoteValue& value) = 0;
    /// Inserts a new note, without styles, into the note list `noteListID` of a musical part, with
    /// the checks of moveNote. The phonemes are required: the library derives none from the lyric
    /// (give {L"a"} when the host has none). ZR_E_UPDATE_FAILED when the note cannot be made.
    virtual int insertNote(std::uint32_t noteListID, const ZRNoteValue& value) = 0;
    /// As insertNote, the note carrying the style values `style` and the vibrato `vibrato`, checked
    /// as updateNoteStyleAttrib and updateNoteVibrato check them.
    virtual int insertNoteWithStyle(std::uint32_t noteListID, const ZRNoteValue& value,
                                    const ZRNoteStyleValue& style,
                                    const ZRVibratoValue& vibrato) = 0;
    /// Inserts at `posTick` (ticks from the part's start) into the note list `noteListID` a copy,
    /// under new IDs and with its styles, of the song's note `sourceNoteID`.
    /// ZR_E_COPY_SOURCE_NOT_FOUND when there is no such note; ZR_E_INVALID_NOTE_POSITION for a
    /// negative position or a copy ending past the policy's maxNoteTick.
    virtual int copyNote(std::uint32_t noteListID, std::int32_t posTick,
                         std::uint32_t sourceNoteID) = 0;
    /// As copyNote, the copy taking the note number `noteNum` (ZR_E_INVALID_NOTE_NUMBER outside 0
    /// to 127).
    virtual int copyNoteWithNumber(std::uint32_t noteListID, std::int32_t posTick,
                                   std::uint32_t sourceNoteID, std::int32_t noteNum) = 0;
    /// Removes a note from its list; one already removed by this editor is left alone (success).
    /// ZR_E_UPDATE_FAILED when the removal fails.
    virtual int deleteNote(std::uint32_t noteID) = 0;

    // Musical parts. A play time must lie between the manager's shortest and longest play time
    // (ZR_E_INVALID_PART_PLAY_TIME); a part may not start before the end of the pre-measure area
    // (ZR_E_INVALID_PART_POSITION; ZR_E_NO_MASTER_TRACK without master track); a track holds at
    // most the manager's number of parts per track (ZR_E_INVALID_PART_NUMBER).
    /// Sets play time, name and comment; the position in `value` is ignored.
    virtual int updateMusicalPart(std::uint32_t partID, const ZRMusicalPartValue& value) = 0;
    /// Sets position, play time, name and comment; the events move with the part.
    virtual int moveMusicalPart(std::uint32_t partID, const ZRMusicalPartValue& value) = 0;
    /// Inserts a new part with the default style and the default voice as its singer into the
    /// part list of a ZR track.
    virtual int insertMusicalPart(std::uint32_t partListID, const ZRMusicalPartValue& value) = 0;
    /// As insertMusicalPart, the part's singer at tick 0 singing the voice (bank select, program
    /// change) of `singer`; its position is ignored. ZR_E_VVOICE_NOT_FOUND when the song's VVoice
    /// table lacks that voice.
    virtual int insertMusicalPartWithSinger(std::uint32_t partListID,
                                            const ZRMusicalPartValue& value,
                                            const ZRSingerValue& singer) = 0;
    /// Inserts a copy of the song's musical part `sourcePartID` (every event under a new ID) at
    /// `posTick` into the part list of a ZR track, any track. ZR_E_COPY_SOURCE_NOT_FOUND for a
    /// missing source, ZR_E_EDIT_TARGET_WRONG_TYPE for a source that is no musical part,
    /// ZR_E_INVALID_PART_DURATION when the copy's events would end past the upper tick limit.
    virtual int copyMusicalPart(std::uint32_t partListID, std::int32_t posTick,
                                std::uint32_t sourcePartID) = 0;
    /// As copyMusicalPart, the copy taking position, play time, name and comment from `value`.
    virtual int copyMusicalPartTo(std::uint32_t partListID, const ZRMusicalPartValue& value,
                                  std::uint32_t sourcePartID) = 0;
    /// Removes a part; one already removed by this editor is left alone (success).
    virtual int deleteMusicalPart(std::uint32_t partID) = 0;
    /// Cuts a part at the absolute `tick`; the events from there on go to a new part starting at
    /// `tick`, keeping their absolute ticks. A note starting before the cut stays whole in the
    /// first part; the singer, controls and style values in effect at the cut start the new
    /// part. The cut must lie at least the shortest play time after the part's start and before
    /// its end (ZR_E_INVALID_PART_POSITION).
    virtual int divideMusicalPart(std::uint32_t partID, std::int32_t tick) = 0;
    /// Merges the later of two parts of one track into the earlier one, which then plays to the
    /// later one's end; the later part is removed. One part twice or two parts starting together:
    /// ZR_E_PARTS_OVERLAP; parts of two tracks: ZR_E_PARTS_NOT_ON_SAME_TRACK. An event of the
    /// later part before the last event of its kind in the earlier one is refused with the code of
    /// its kind (ZR_E_PARTS_OVERLAP_NOTE, _DYN ... _PBS, _POR; ZR_E_PARTS_OVERLAP for other style
    /// controls). The earlier part keeps its own singers.
    virtual int mergeMusicalParts(std::uint32_t firstPartID, std::uint32_t secondPartID) = 0;
    /// Starts a part `amount` ticks earlier and lengthens its play time alike; its events keep
    /// their absolute ticks. 0 does nothing; a negative amount gives
    /// ZR_E_INVALID_PART_EXTEND_DURATION; ZR_E_INVALID_PART_DURATION when the part's events would
    /// span more than the upper tick limit.
    virtual int extendMusicalPartHead(std::uint32_t partID, std::int32_t amount) = 0;

    // Prosody voices, elements and controls of a prosody part.
    /// Sets the VVoice of a voice change; its position in `value` is neither used nor checked.
    virtual int updateProsodyVoice(std::uint32_t voiceID, const ZRProsodyVoiceValue& value) = 0;
    /// Sets position and VVoice of a voice change; the head one (at 0) cannot move
    /// (ZR_E_HEAD_EVENT_UPDATE_NOT_ALLOWED).
    virtual int moveProsodyVoice(std::uint32_t voiceID, const ZRProsodyVoiceValue& value) = 0;
    /// Inserts a voice change into the voice list `listID` of a prosody part, or sets the VVoice of
    /// the one already at that position.
    virtual int insertProsodyVoice(std::uint32_t listID, const ZRProsodyVoiceValue& value) = 0;
    /// Removes a voice change; the head one stays and takes the default VVoice.
    virtual int deleteProsodyVoice(std::uint32_t voiceID) = 0;
    /// Sets the value of a curve point; its position in `value` is neither used nor checked.
    virtual int updateProsodyElement(std::uint32_t elementID,
                                     const ZRProsodyElementValue& value) = 0;
    /// Sets position and value of a curve point; the head one (at 0) cannot move
    /// (ZR_E_HEAD_EVENT_UPDATE_NOT_ALLOWED).
    virtual int moveProsodyElement(std::uint32_t elementID, const ZRProsodyElementValue& value) = 0;
    /// Inserts a point into the curve `listID` of a prosody part, or sets the value of the point
    /// already at that position.
    virtual int insertProsodyElement(std::uint32_t listID, const ZRProsodyElementValue& value) = 0;
    /// Removes a curve point; the head one stays with the value 0.
    virtual int deleteProsodyElement(std::uint32_t elementID) = 0;
    /// Sets the value of a prosody control; its position in `value` is neither used nor checked.
    virtual int updateProsodyControl(std::uint32_t controlID,
                                     const ZRProsodyControlValue& value) = 0;
    /// Sets position and value of a prosody control.
    virtual int moveProsodyControl(std::uint32_t controlID, const ZRProsodyControlValue& value) = 0;
    /// Inserts a control into the control list `listID` of a prosody part (the list of the value's
    /// kind), or sets the value of the control already at that position.
    virtual int insertProsodyControl(std::uint32_t listID, const ZRProsodyControlValue& value) = 0;
    /// Removes a prosody control; one already removed by this editor is left alone (success).
    virtual int deleteProsodyControl(std::uint32_t controlID) = 0;

    // WAV parts of the audio tracks.
    /// Sets play time, name and comment of a WAV part; its position in `value` is ignored. A play
    /// time below 60: ZR_E_INVALID_PART_PLAY_TIME.
    virtual int updateWAVPart(std::uint32_t partID, const ZRWAVPartValue& value) = 0;
    /// Sets position, play time, name and comment. ZR_E_NO_MASTER_TRACK without a master track,
    /// ZR_E_INVALID_PART_POSITION for a start before the end of the pre-measures,
    /// ZR_E_INVALID_PART_PLAY_TIME for a play time below 60, ZR_E_INVALID_PART_DURATION when the
    /// part would end past the policy's maxNoteTick.
    virtual int moveWAVPart(std::uint32_t partID, const ZRWAVPartValue& value) = 0;
    /// Inserts into the WAV part list `partListID` a part at `posTick` (ticks from the song's
    /// start) that plays the WAV file at `filePath`, named after the file. The file is copied into
    /// the song's WAV parts folder (made when missing) and the part names it there by its file
    /// name; a file already in that folder stays as it is. When another file of that name is there,
    /// `flag` nonzero overwrites it, 0 keeps it and gives the copy the first free name
    /// "<name>_2<ext>",
    /// "<name>_3<ext>", ... Checks, in this order: ZR_E_INVALID_WAVE_FILE_PATH (empty path),
    /// ZR_E_INVALID_WAVE_FILE (no PCM WAV file), ZR_E_INVALID_WAVE_SAMPLING_RATE (not 44100, 48000
    /// or 96000), ZR_E_INVALID_WAVE_SAMPLING_RESOLUTION (not 16 bits), ZR_E_NO_MASTER_TRACK,
    /// ZR_E_INVALID_WAVE_FILE_DURATION (no samples), ZR_E_INVALID_PART_POSITION (before the end of
    /// the pre-measures), ZR_E_INVALID_PART_PLAY_TIME (shorter than 60 ticks there),
    /// ZR_E_INVALID_PART_DURATION (ending past maxNoteTick), ZR_E_INVALID_WAVE_CHANNELS (neither
    /// mono nor stereo), ZR_E_OUT_OF_WAV_PART_NUMBER (the track is full); then
    /// ZR_E_CANNOT_SAVE_WAV_FILE when the file cannot be stored in the folder.
    virtual int insertWAVPartFromFile(std::uint32_t partListID, std::int32_t posTick,
                                      const std::wstring& filePath, std::int32_t flag) = 0;
    /// Inserts at `posTick` a WAV part playing the file of the WAV part `sourcePartID` of the song
    /// in the import buffer, with its name and comment, as insertWAVPartFromFile with `flag` 0.
    /// ZR_E_IMPORT_SOURCE_NOT_FOUND when the buffer holds no such object,
    /// ZR_E_EDIT_TARGET_WRONG_TYPE when it is no WAV part.
    virtual int importWAVPart(std::uint32_t partListID, std::int32_t posTick,
                              std::uint32_t sourcePartID) = 0;
    /// Removes a WAV part from its track; one already removed by this editor is left alone. Its
    /// audio file stays in the WAV parts folder, so that undo finds it again.
    virtual int deleteWAVPart(std::uint32_t partID) = 0;

    // ZR tracks (with their mixer units).
    /// Sets name and comment of a ZR track, each at most 256 characters (ZR_E_INVALID_TRACK_VALUE).
    virtual int updateZRTrack(std::uint32_t trackID, const std::wstring& name,
                              const std::wstring& comment) = 0;
    /// Gives the track the number `trackNo`; the tracks between its old and new number shift by
    /// one toward the old number, and the mixer units follow their tracks. ZR_E_INVALID_TRACK_ID
    /// when `trackNo` is its number already, negative, or not below the track count or the
    /// policy's maxZRTracks.
    virtual int moveZRTrack(std::uint32_t trackID, std::int32_t trackNo) = 0;
    /// Inserts into the sequence's track list `trackListID` a new empty track named `name` with a
    /// new mixer unit (centre pan, silent send). A `trackNo` that is negative or not below the
    /// track count appends the track; otherwise the tracks from that number on move up by one.
    /// ZR_E_INVALID_TRACK_ID when `trackNo` is not below maxZRTracks, ZR_E_INVALID_TRACK_NUMBER
    /// when the song holds maxZRTracks tracks already, ZR_E_INVALID_TRACK_VALUE for a name or
    /// comment longer than 256 characters; ZR_E_NO_SEQUENCE, ZR_E_NO_MIXER.
    virtual int insertZRTrack(std::uint32_t trackListID, std::int32_t trackNo,
                              const std::wstring& name, const std::wstring& comment) = 0;
    /// As insertZRTrack, the new track a copy, named `name`, of the song's track `sourceTrackID`
    /// with everything in it and a copy of its mixer unit, every copied object under a new ID.
    /// ZR_E_COPY_SOURCE_NOT_FOUND when the source is missing (or this editor removed it),
    /// ZR_E_EDIT_TARGET_WRONG_TYPE when it is no ZR track.
    virtual int copyZRTrack(std::uint32_t trackListID, std::int32_t trackNo,
                            std::uint32_t sourceTrackID, const std::wstring& name) = 0;
    /// As copyZRTrack from the track `sourceTrackID` of the song in the import buffer, keeping its
    /// name; its mixer unit is copied from that song's mixer, or made new when it has none.
    /// ZR_E_IMPORT_SOURCE_NOT_FOUND, ZR_E_EDIT_TARGET_WRONG_TYPE.
    virtual int importZRTrack(std::uint32_t trackListID, std::int32_t trackNo,
                              std::uint32_t sourceTrackID) = 0;
    /// Removes a track and its mixer unit; the tracks after it move down by one. One already
    /// removed by this editor is left alone. ZR_E_INVALID_TRACK_NUMBER for the last remaining
    /// track.
    virtual int deleteZRTrack(std::uint32_t trackID) = 0;

    // Labels and new objects.
    /// As commit(), the commit carrying `label` (null or "" for none), which the history keeps
    /// with it for an Undo or Redo menu (editGetUndoText, editGetRedoText) and which the change
    /// observers receive. The label is copied; only a label given to the commit that files
    /// something is kept. Short of memory for the label: 0 with ZR_E_NOT_ENOUGH_MEMORY, nothing
    /// committed and the records still pending.
    virtual int commit(const wchar_t* label) = 0;
    /// The ID of the object the last operation through this editor inserted: the new note,
    /// tempo, part, track (not its mixer unit), WAV part, event or curve point of an insert, a
    /// copy or an import, or the part divideMusicalPart cut off. When an insert lands on a
    /// position an object of its list already holds (a tempo, time signature, singer, control or
    /// point), that object takes the values and its ID is answered. 0xFFFFFFFF (ZR_NO_OBJ_ID)
    /// after any other operation, a failed one, or before the first. The ID is the object's for
    /// good: commit, undo and redo keep it, so it names the committed object.
    virtual std::uint32_t getLastInsertedID() const = 0;
    /// Replaces `ids` by the IDs getLastInsertedID answered after each successful insert of this
    /// editor, in call order: the n-th insert's object is ids[n], before and after the commit.
    /// discard() empties it.
    virtual void getInsertedIDs(std::vector<std::uint32_t>& ids) const = 0;

protected:
    /// Made by the manager only (editGetKorEditor).
    IZRKorEditorIF() = default;
    IZRKorEditorIF(const IZRKorEditorIF&) = delete;
    IZRKorEditorIF& operator=(const IZRKorEditorIF&) = delete;
    /// The manager destroys its editor; a host never deletes it.
    ~IZRKorEditorIF() = default;
};
