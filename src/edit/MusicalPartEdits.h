// The musical part operations of the editor: update, move, insert, copy and delete a part.
#pragma once

#include "edit/EditCommand.h"

#include <korman/ZREditValues.h>
#include <korman/ZRKorManagementPolicy.h>

#include <cstdint>

class CZRNodeList;

namespace kor {

class EditSession;

/// The shortest play time `policy` allows a musical part: its own, never below 60 ticks.
std::int32_t shortestPlayTime(const ZRKorManagementPolicy& policy);
/// ZR_E_INVALID_PART_PLAY_TIME, explained, when `playTime` is shorter than the shortest or (when
/// the policy sets one) longer than the longest play time of the editor's policy; else 0.
[[nodiscard]] std::uint32_t checkPlayTime(const EditSession& session, std::int64_t playTime);
/// ZR_E_INVALID_PART_NUMBER, explained, when the part list `parts` already holds as many parts
/// as the editor's policy lets a track hold; else 0.
[[nodiscard]] std::uint32_t checkRoomForPart(const EditSession& session, const CZRNodeList& parts);

// Each records its change in `session` and returns 0, or the one error code of its failure:
// ZR_E_EDIT_TARGET_NOT_FOUND for a part or part list that is missing or of another kind, the
// play-time, start and room checks above, the record lookup's codes, ZR_E_EDIT_TARGET_DELETED for
// a part this editor has removed already, and ZR_E_UPDATE_FAILED when a new part cannot be made
// or linked.

/// Sets play time, name and comment of a part; the position in `value` is neither used nor
/// checked.
[[nodiscard]] std::uint32_t updateMusicalPart(EditSession& session, std::uint32_t partID,
                                              const ZRMusicalPartValue& value);
/// Sets position, play time, name and comment; the part's events move with it.
[[nodiscard]] std::uint32_t moveMusicalPart(EditSession& session, std::uint32_t partID,
                                            const ZRMusicalPartValue& value);
/// Inserts a new part, built with the default style and the default singer, into the part list
/// of a ZR track.
[[nodiscard]] std::uint32_t insertMusicalPart(EditSession& session, std::uint32_t partListID,
                                              const ZRMusicalPartValue& value);
/// As insertMusicalPart, the part's first singer singing the voice of `singer` instead of the
/// default one. That singer stands at tick 0 whatever the position in `singer` says.
/// ZR_E_VVOICE_NOT_FOUND when the song's VVoice table lacks the voice.
[[nodiscard]] std::uint32_t insertMusicalPartWithSinger(EditSession& session,
                                                        std::uint32_t partListID,
                                                        const ZRMusicalPartValue& value,
                                                        const ZRSingerValue& singer);
/// Inserts a copy of the musical part `sourcePartID` of the song, with all its events under
/// fresh IDs, at `posTick` into the part list of a ZR track. ZR_E_COPY_SOURCE_NOT_FOUND when the
/// source is missing, ZR_E_EDIT_TARGET_WRONG_TYPE when it is not a musical part,
/// ZR_E_INVALID_PART_DURATION when the copy's events would reach past the upper tick limit.
[[nodiscard]] std::uint32_t copyMusicalPart(EditSession& session, std::uint32_t partListID,
                                            std::int32_t posTick, std::uint32_t sourcePartID);
/// As copyMusicalPart, the copy taking position, play time, name and comment from `value`.
[[nodiscard]] std::uint32_t copyMusicalPartTo(EditSession& session, std::uint32_t partListID,
                                              const ZRMusicalPartValue& value,
                                              std::uint32_t sourcePartID);
/// Removes a part from its track. A part already removed by this editor is left alone.
[[nodiscard]] std::uint32_t deleteMusicalPart(EditSession& session, std::uint32_t partID);

} // namespace kor
