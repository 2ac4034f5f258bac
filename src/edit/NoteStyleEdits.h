// The note style operations of the editor: a note's style values and the points of its curves.
#pragma once

#include <korman/ZREditValues.h>

#include <cstdint>

class CZRKorEditorIF;

namespace kor {

/// Whether `style` holds acceptable singing-style values: bend depth and length, decay and
/// accent 0 to 100, opening 0 to 127. 0 or ZR_E_INVALID_T2_NOTE_STYLE.
[[nodiscard]] std::uint32_t checkNoteStyle(const ZRNoteStyleValue& style);

// Each records its change in `editor` and returns 0, or the one error code of its failure:
// ZR_E_EDIT_TARGET_NOT_FOUND for a missing target, the value checks named below, the record
// lookup's codes, and ZR_E_EDIT_TARGET_DELETED for a target this editor has removed already.

/// Sets the seven singing-style values of a note's style attribute; its other values (the
/// vibrato's) stay. ZR_E_INVALID_T2_NOTE_STYLE for values out of range.
[[nodiscard]] std::uint32_t updateNoteStyleAttrib(CZRKorEditorIF& editor, std::uint32_t attribID,
                                                  const ZRNoteStyleValue& value);
/// Sets the value of a curve point; its position in `value` is neither used nor checked.
[[nodiscard]] std::uint32_t
updateNoteStyleSeqAttribElement(CZRKorEditorIF& editor, std::uint32_t elementID,
                                const ZRNoteStyleSeqAttribElementValue& value);
/// Sets position and value of a curve point.
/// ZR_E_INVALID_SEQUENTIAL_NOTE_STYLE_ATTRIBUTE_POSITION for a position outside the note,
/// ZR_E_SEQUENTIAL_NOTE_STYLE_ATTRIBUTES_ARE_DUPLICATED when another point of the curve sits there.
[[nodiscard]] std::uint32_t
moveNoteStyleSeqAttribElement(CZRKorEditorIF& editor, std::uint32_t elementID,
                              const ZRNoteStyleSeqAttribElementValue& value);
/// Inserts a point into the curve `listID`, or sets the value of the point already at that
/// position. ZR_E_INVALID_SEQUENTIAL_NOTE_STYLE_ATTRIBUTE_POSITION for a position outside the
/// note, ZR_E_UPDATE_FAILED when the new point cannot be made or linked.
[[nodiscard]] std::uint32_t
insertNoteStyleSeqAttribElement(CZRKorEditorIF& editor, std::uint32_t listID,
                                const ZRNoteStyleSeqAttribElementValue& value);
/// Removes a point from its curve; a point already removed is left alone. ZR_E_UPDATE_FAILED
/// when the removal fails.
[[nodiscard]] std::uint32_t deleteNoteStyleSeqAttribElement(CZRKorEditorIF& editor,
                                                            std::uint32_t elementID);

} // namespace kor
