// The note operations of the editor: a note's style values and curve points, its vibrato, and
// update, move, insert, copy and delete of notes.
#pragma once

#include <korman/ZREditValues.h>

#include <cstdint>

namespace kor {

class EditSession;

// Each records its change in `session` and returns 0, or the one error code of its failure:
// ZR_E_EDIT_TARGET_NOT_FOUND for a missing target, the value checks named below, the record
// lookup's codes, and ZR_E_EDIT_TARGET_DELETED for a target this editor has removed already.

/// Sets the seven singing-style values of a note's style attribute; its other values (the
/// vibrato's) stay. ZR_E_INVALID_T2_NOTE_STYLE for values out of range.
[[nodiscard]] std::uint32_t updateNoteStyleAttrib(EditSession& session, std::uint32_t attribID,
                                                  const ZRNoteStyleValue& value);
/// Sets the value of a curve point; its position in `value` is neither used nor checked.
[[nodiscard]] std::uint32_t
updateNoteStyleSeqAttribElement(EditSession& session, std::uint32_t elementID,
                                const ZRNoteStyleSeqAttribElementValue& value);
/// Sets position and value of a curve point.
/// ZR_E_INVALID_SEQUENTIAL_NOTE_STYLE_ATTRIBUTE_POSITION for a position outside the note,
/// ZR_E_SEQUENTIAL_NOTE_STYLE_ATTRIBUTES_ARE_DUPLICATED when another point of the curve sits there.
[[nodiscard]] std::uint32_t
moveNoteStyleSeqAttribElement(EditSession& session, std::uint32_t elementID,
                              const ZRNoteStyleSeqAttribElementValue& value);
/// Inserts a point into the curve `listID`, or sets the value of the point already at that
/// position. ZR_E_INVALID_SEQUENTIAL_NOTE_STYLE_ATTRIBUTE_POSITION for a position outside the
/// note, ZR_E_UPDATE_FAILED when the new point cannot be made or linked.
[[nodiscard]] std::uint32_t
insertNoteStyleSeqAttribElement(EditSession& session, std::uint32_t listID,
                                const ZRNoteStyleSeqAttribElementValue& value);
/// Removes a point from its curve; a point already removed is left alone. ZR_E_UPDATE_FAILED
/// when the removal fails.
[[nodiscard]] std::uint32_t deleteNoteStyleSeqAttribElement(EditSession& session,
                                                            std::uint32_t elementID);

// The note checks run in order over position, length, note number, velocity, lyric and phonemes;
// ZR_E_INVALID_NOTE_POSITION also refuses a note that would end past the policy's upper tick
// limit.

/// Gives a note the vibrato `value`: its "vibType" and "vibLen" style values and its "vibDep" and
/// "vibRate" curves, which take the curves of the voice database's vibrato kind (empty for a kind
/// it lacks). ZR_E_INVALID_VIBRATO for a length out of 0 to 100 or a kind out of 0 to 16,
/// ZR_E_EDIT_TARGET_NOT_T2_STYLE for a note without both a style and a sequential style,
/// ZR_E_UPDATE_FAILED when the curves cannot be rebuilt.
[[nodiscard]] std::uint32_t updateNoteVibrato(EditSession& session, std::uint32_t noteID,
                                              const ZRVibratoValue& value);
/// Sets every attribute of a note but its position, which is neither used nor checked; the limit
/// is checked at the note's own position.
[[nodiscard]] std::uint32_t updateNote(EditSession& session, std::uint32_t noteID,
                                       const ZRNoteValue& value);
/// Sets every attribute of a note, its position included. Notes may share a position.
[[nodiscard]] std::uint32_t moveNote(EditSession& session, std::uint32_t noteID,
                                     const ZRNoteValue& value);
/// Inserts a new note, without styles, into the note list `noteListID` of a musical part.
/// ZR_E_UPDATE_FAILED when it cannot be made or linked.
[[nodiscard]] std::uint32_t insertNote(EditSession& session, std::uint32_t noteListID,
                                       const ZRNoteValue& value);
/// Inserts a new note with the style values `style` and the vibrato `vibrato`, checked after the
/// note as updateNoteStyleAttrib and updateNoteVibrato check them.
[[nodiscard]] std::uint32_t insertNoteWithStyle(EditSession& session, std::uint32_t noteListID,
                                                const ZRNoteValue& value,
                                                const ZRNoteStyleValue& style,
                                                const ZRVibratoValue& vibrato);
/// Inserts at `posTick` a copy, under fresh IDs and with its styles, of the note `sourceNoteID`
/// of the document. ZR_E_COPY_SOURCE_NOT_FOUND when there is no such note,
/// ZR_E_INVALID_NOTE_POSITION for a negative position or a copy ending past the limit.
[[nodiscard]] std::uint32_t copyNote(EditSession& session, std::uint32_t noteListID,
                                     std::int32_t posTick, std::uint32_t sourceNoteID);
/// copyNote, giving the copy the note number `noteNum` (ZR_E_INVALID_NOTE_NUMBER outside 0 to 127).
[[nodiscard]] std::uint32_t copyNoteWithNumber(EditSession& session, std::uint32_t noteListID,
                                               std::int32_t posTick, std::uint32_t sourceNoteID,
                                               std::int32_t noteNum);
/// Removes a note from its list; a note already removed is left alone. ZR_E_UPDATE_FAILED when
/// the removal fails.
[[nodiscard]] std::uint32_t deleteNote(EditSession& session, std::uint32_t noteID);

} // namespace kor
