// The singer operations of the editor: update, move, insert and delete a singer change of a
// musical part.
#pragma once

#include <korman/ZREditValues.h>

#include <cstdint>

namespace kor {

class EditSession;

// Each records its change in `session` and returns 0, or the one error code of its failure:
// ZR_E_EDIT_TARGET_NOT_FOUND for a missing singer or singer list, ZR_E_INVALID_SINGER_POSITION for
// a negative position (moves and inserts), ZR_E_VVOICE_NOT_FOUND for a voice the sequence's VVoice
// table lacks, the record lookup's codes, and ZR_E_EDIT_TARGET_DELETED for a singer this editor
// has removed already.

/// Sets the voice of a singer; the position in `value` is neither used nor checked.
[[nodiscard]] std::uint32_t updateSinger(EditSession& session, std::uint32_t singerID,
                                         const ZRSingerValue& value);
/// Sets position and voice. ZR_E_SINGERS_ARE_DUPLICATED when another singer of the part sits at
/// the new position, ZR_E_HEAD_EVENT_UPDATE_NOT_ALLOWED for the singer at tick 0.
[[nodiscard]] std::uint32_t moveSinger(EditSession& session, std::uint32_t singerID,
                                       const ZRSingerValue& value);
/// Inserts a singer into the singer list `listID` of a musical part, or sets the voice of the
/// singer already at that position. ZR_E_UPDATE_FAILED when the new singer cannot be made.
[[nodiscard]] std::uint32_t insertSinger(EditSession& session, std::uint32_t listID,
                                         const ZRSingerValue& value);
/// Removes a singer; the singer at tick 0 stays and takes the process-wide default voice. A
/// singer already removed is left alone.
[[nodiscard]] std::uint32_t deleteSinger(EditSession& session, std::uint32_t singerID);

} // namespace kor
