// The musical control operations of the editor: update, move, insert and delete a control event
// (DYN, BRE, BRI, CLE, GEN, PIT, PBS) of a musical part.
#pragma once

#include <korman/ZREditValues.h>

#include <cstdint>

namespace kor {

class EditSession;

// Each records its change in `session` and returns 0, or the one error code of its failure:
// ZR_E_EDIT_TARGET_NOT_FOUND for a missing control or control list,
// ZR_E_INVALID_MUSICAL_CONTROL_POSITION for a position below 0 or beyond the policy's upper tick
// limit (moves and inserts), ZR_E_INVALID_MUSICAL_CONTROL_ID for a kind outside 0 to 6 or other
// than the kind of the list the control is in, the record lookup's codes, and
// ZR_E_EDIT_TARGET_DELETED for a control this editor has removed already.

/// Sets the value of a control; the position in `value` is neither used nor checked.
[[nodiscard]] std::uint32_t updateMusicalControl(EditSession& session, std::uint32_t controlID,
                                                 const ZRMusicalControlValue& value);
/// Sets position and value. ZR_E_MUSICAL_CONTROLS_ARE_DUPLICATED when another control of the
/// list sits at the new position.
[[nodiscard]] std::uint32_t moveMusicalControl(EditSession& session, std::uint32_t controlID,
                                               const ZRMusicalControlValue& value);
/// Inserts a control into the control list `listID` of a musical part (the list of the value's
/// kind), or sets the value of the control already at that position. ZR_E_UPDATE_FAILED when
/// the new control cannot be made.
[[nodiscard]] std::uint32_t insertMusicalControl(EditSession& session, std::uint32_t listID,
                                                 const ZRMusicalControlValue& value);
/// Removes a control from its list. A control already removed is left alone.
[[nodiscard]] std::uint32_t deleteMusicalControl(EditSession& session, std::uint32_t controlID);

} // namespace kor
