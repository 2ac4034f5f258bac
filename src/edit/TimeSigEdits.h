// The time signature operations of the editor: update, move, insert and delete a time signature
// of the master track.
#pragma once

#include <korman/ZREditValues.h>

#include <cstdint>

namespace kor {

class EditSession;

// Each records the whole master track in `session` and returns 0, or the one error code of its
// failure: ZR_E_EDIT_TARGET_NOT_FOUND for a missing time signature, ZR_E_NO_MASTER_TRACK,
// ZR_E_INVALID_TIME_SIGNATURE_VALUE (numerator 1 to 255, denominator a power of two from 1 to
// 32) and ZR_E_INVALID_TIME_SIGNATURE_POSITION (a negative measure) for bad values, the record
// lookup's codes, and ZR_E_EDIT_TARGET_DELETED for a time signature this editor has removed.
// A change that alters the length of the pre-measure area moves the song after it by the
// difference; ZR_E_UPDATE_FAILED, with the change taken back, when it cannot move.

/// Sets numerator and denominator; the position in `value` is neither used nor checked.
[[nodiscard]] std::uint32_t updateTimeSig(EditSession& session, std::uint32_t timeSigID,
                                          const ZRTimeSigValue& value);
/// Sets position and values. ZR_E_TIME_SIGNATURES_ARE_DUPLICATED when another time signature
/// sits at the new measure, ZR_E_HEAD_EVENT_UPDATE_NOT_ALLOWED for the one at measure 0.
[[nodiscard]] std::uint32_t moveTimeSig(EditSession& session, std::uint32_t timeSigID,
                                        const ZRTimeSigValue& value);
/// Inserts a time signature into the master track's list, or sets the values of the one already
/// at that measure. ZR_E_UPDATE_FAILED when the new one cannot be made.
[[nodiscard]] std::uint32_t insertTimeSig(EditSession& session, const ZRTimeSigValue& value);
/// Removes a time signature; the one at measure 0 stays, reset to 4/4. One already removed is
/// left alone.
[[nodiscard]] std::uint32_t deleteTimeSig(EditSession& session, std::uint32_t timeSigID);

} // namespace kor
