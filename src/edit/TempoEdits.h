// The tempo operations of the editor: update, move, insert and delete a tempo.
#pragma once

#include <korman/ZREditValues.h>

#include <cstdint>

namespace kor {

class EditSession;

/// The tempo a deleted head tempo falls back to: 120.00 beats per minute.
inline constexpr std::int32_t kDefaultTempo = 12000;

// Each records its change in `session` and returns 0, or the one error code of its failure:
// ZR_E_EDIT_TARGET_NOT_FOUND for a missing tempo, ZR_E_NO_MASTER_TRACK, ZR_E_INVALID_TEMPO_POSITION
// and ZR_E_INVALID_TEMPO_VALUE for bad values, the record lookup's codes, and
// ZR_E_EDIT_TARGET_DELETED for a tempo this editor has removed already.

/// Sets the tempo value; the position in `value` is neither used nor checked.
[[nodiscard]] std::uint32_t updateTempo(EditSession& session, std::uint32_t tempoID,
                                        const ZRTempoValue& value);
/// Sets position and value. ZR_E_TEMPOS_ARE_DUPLICATED when another tempo sits at the new
/// position, ZR_E_HEAD_EVENT_UPDATE_NOT_ALLOWED for the tempo at tick 0.
[[nodiscard]] std::uint32_t moveTempo(EditSession& session, std::uint32_t tempoID,
                                      const ZRTempoValue& value);
/// Inserts a new tempo into the master track's tempo list, or sets the value of the tempo
/// already at that position. ZR_E_UPDATE_FAILED when the new tempo cannot be made or linked.
[[nodiscard]] std::uint32_t insertTempo(EditSession& session, const ZRTempoValue& value);
/// Removes a tempo from its list; the head tempo stays, reset to kDefaultTempo. A tempo already
/// removed is left alone. ZR_E_UPDATE_FAILED when the removal fails.
[[nodiscard]] std::uint32_t deleteTempo(EditSession& session, std::uint32_t tempoID);

} // namespace kor
