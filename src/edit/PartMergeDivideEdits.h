// The editor operations on whole musical parts of a track: merge two parts, divide one in two,
// and extend one's head.
#pragma once

#include <cstdint>

class CZRMusicalPart;

namespace kor {

class EditSession;

/// Whether the events of the later part `b` all come at or after the last event of the same kind
/// in the earlier part `a` (a.posTick <= b.posTick), compared at their absolute ticks, so that
/// appending them keeps every list in order. 0 when they do; else the first clash, checked in
/// this order: notes (ZR_E_PARTS_OVERLAP_NOTE, equal starts pass), the musical controls by kind
/// DYN to PBS (ZR_E_PARTS_OVERLAP_DYN ... _PBS), then the style control lists of `a` by name
/// (ZR_E_PARTS_OVERLAP_POR for "POR", ZR_E_PARTS_OVERLAP for any other name). Singers are not
/// compared.
[[nodiscard]] std::uint32_t checkPartsOverlap(const CZRMusicalPart& a, const CZRMusicalPart& b);

// Each records its change in the part list record of the track and returns 0, or the one error
// code of its failure: ZR_E_EDIT_TARGET_NOT_FOUND for a part that is missing, of another kind or
// in no list, the record lookup's codes, ZR_E_EDIT_TARGET_DELETED for a part this editor has
// removed already, and ZR_E_UPDATE_FAILED when events cannot be copied or moved (the record's
// copies may then hold a half-done change, which is discarded with the editor unless committed).

/// Merges the later of two parts of one track into the earlier one and removes the later one.
/// The earlier part receives the later part's notes, musical controls and style controls at
/// their absolute ticks (a control at the very tick of the earlier part's last control of its
/// kind only hands over its value) and plays until the later of the two ends; it keeps its own
/// singers. ZR_E_PARTS_OVERLAP for one part given twice or two parts starting at one tick,
/// ZR_E_PARTS_NOT_ON_SAME_TRACK for parts of two tracks, else checkPartsOverlap's verdict.
[[nodiscard]] std::uint32_t mergeMusicalParts(EditSession& session, std::uint32_t firstPartID,
                                              std::uint32_t secondPartID);

/// Cuts a part at the absolute tick `tick`: the events from the cut on go to a new part of the
/// same track that starts at the cut, each keeping its absolute tick. A note that starts before
/// the cut stays whole in the first part, even when it sounds past the cut. The singer and every
/// control and style value in effect at the cut (the last one at or before it) are carried to
/// the start of the new part, which thus sounds as the whole part did. The first part then plays
/// up to the cut, the new one up to where the whole part ended (at least the shortest play time).
/// ZR_E_INVALID_PART_POSITION unless the cut lies at least the shortest play time after the
/// part's start and before its end (the later of its play time and its last event),
/// ZR_E_INVALID_PART_NUMBER when the track has no room for another part.
[[nodiscard]] std::uint32_t divideMusicalPart(EditSession& session, std::uint32_t partID,
                                              std::int32_t tick);

/// Starts a part `amount` ticks earlier and lengthens its play time by as much; its events keep
/// their absolute ticks (the first singer stays at the part's start). 0 changes nothing.
/// ZR_E_NO_MASTER_TRACK, ZR_E_INVALID_PART_EXTEND_DURATION for a negative amount,
/// ZR_E_INVALID_PART_POSITION when the new start lies before the end of the pre-measure area,
/// ZR_E_INVALID_PART_DURATION when the events would reach past the upper tick limit,
/// ZR_E_INVALID_PART_PLAY_TIME when the play time would exceed the longest one.
[[nodiscard]] std::uint32_t extendMusicalPartHead(EditSession& session, std::uint32_t partID,
                                                  std::int32_t amount);

} // namespace kor
