// The style operations of the editor: the part style values of a musical part, and its style
// control events (update, move, insert, delete).
#pragma once

#include <korman/ZREditValues.h>

#include <cstdint>
#include <string>

namespace kor {

class EditSession;

// Each records its change in `session` and returns 0, or the one error code of its failure:
// ZR_E_EDIT_TARGET_NOT_FOUND for a missing target, the family's checks below, the record lookup's
// codes, and ZR_E_EDIT_TARGET_DELETED for a target this editor has removed already.

/// Stores `value` under the style ID `styleID` (1 to 256 characters, else
/// ZR_E_INVALID_PART_STYLE_ATTRIBUTE_ID) in the part style `attribID`. ZR_E_UPDATE_FAILED when
/// the value cannot be stored.
[[nodiscard]] std::uint32_t setPartStyleAttrib(EditSession& session, std::uint32_t attribID,
                                               const std::wstring& styleID, std::int32_t value);
/// Removes every value of the part style `attribID`.
[[nodiscard]] std::uint32_t clearPartStyleAttrib(EditSession& session, std::uint32_t attribID);

// The style control edits check the position (moves and inserts: below 0, or beyond the policy's
// upper tick limit, gives ZR_E_INVALID_STYLE_CONTROL_POSITION) and the name (1 to 256 characters,
// and the name of the part's list the control is in, else ZR_E_INVALID_STYLE_CONTROL_ID).

/// Sets the value of a style control; the position in `value` is neither used nor checked.
[[nodiscard]] std::uint32_t updateStyleControl(EditSession& session, std::uint32_t controlID,
                                               const ZRStyleControlValue& value);
/// Sets position and value. ZR_E_STYLE_CONTROLS_ARE_DUPLICATED when another control of the list
/// sits at the new position.
[[nodiscard]] std::uint32_t moveStyleControl(EditSession& session, std::uint32_t controlID,
                                             const ZRStyleControlValue& value);
/// Inserts a style control into the list `listID` a musical part keeps under the value's name,
/// or sets the value of the control already at that position. ZR_E_UPDATE_FAILED when the new
/// control cannot be made.
[[nodiscard]] std::uint32_t insertStyleControl(EditSession& session, std::uint32_t listID,
                                               const ZRStyleControlValue& value);
/// Removes a style control from its list. A control already removed is left alone.
[[nodiscard]] std::uint32_t deleteStyleControl(EditSession& session, std::uint32_t controlID);

} // namespace kor
