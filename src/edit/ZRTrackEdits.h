// The ZR track operations of the editor: update, move, insert, copy, import and delete singing
// tracks together with their mixer units.
#pragma once

#include <cstdint>
#include <string>

namespace kor {

class EditSession;

/// The most characters a track name or comment holds.
inline constexpr std::size_t kMaxTrackTextLength = 256;

// Each records its change in `session` and returns 0, or the one error code of its failure:
// ZR_E_NO_SEQUENCE and ZR_E_NO_MIXER when the song lacks either, ZR_E_EDIT_TARGET_NOT_FOUND for a
// missing track (or a list that is not the sequence's track list), ZR_E_INVALID_TRACK_VALUE for
// a name or comment longer than kMaxTrackTextLength, the record lookup's codes, and
// ZR_E_EDIT_TARGET_DELETED for a track this editor has removed already.
//
// Every ZR track has the mixer unit with its track number, so all but the update record both
// the track list and the mixer's unit list and renumber tracks and units alike; the numbers stay
// 0, 1, 2, ... in list order. An insert (new, copied or imported track) takes the number
// `trackNo` and moves the tracks from there on up by one; a negative number or one not below
// the track count appends the track. ZR_E_INVALID_TRACK_ID when `trackNo` is not below the
// policy's most tracks, ZR_E_INVALID_TRACK_NUMBER when the song holds that many tracks already.

/// Sets name and comment.
[[nodiscard]] std::uint32_t updateZRTrack(EditSession& session, std::uint32_t trackID,
                                          const std::wstring& name, const std::wstring& comment);
/// Gives the track the number `trackNo`; the tracks between its old and new number shift by one
/// toward the old number. ZR_E_INVALID_TRACK_ID when `trackNo` is its number already, negative,
/// or not below the track count or the policy's most tracks.
[[nodiscard]] std::uint32_t moveZRTrack(EditSession& session, std::uint32_t trackID,
                                        std::int32_t trackNo);
/// Inserts a new empty track with a new mixer unit (centre pan, silent send).
[[nodiscard]] std::uint32_t insertZRTrack(EditSession& session, std::uint32_t listID,
                                          std::int32_t trackNo, const std::wstring& name,
                                          const std::wstring& comment);
/// Inserts a copy of the song's track `sourceID`, named `name`, with everything in it and a copy
/// of its mixer unit; every copied object gets a new ID. ZR_E_COPY_SOURCE_NOT_FOUND when the
/// source is missing (or this editor removed it), ZR_E_EDIT_TARGET_WRONG_TYPE when it is not a
/// ZR track.
[[nodiscard]] std::uint32_t copyZRTrack(EditSession& session, std::uint32_t listID,
                                        std::int32_t trackNo, std::uint32_t sourceID,
                                        const std::wstring& name);
/// Inserts a copy of the track `sourceID` of the song in the import buffer, as copyZRTrack but
/// keeping its name; its mixer unit is copied from that song's mixer, or a new one made when it
/// has none. ZR_E_IMPORT_SOURCE_NOT_FOUND, ZR_E_EDIT_TARGET_WRONG_TYPE.
[[nodiscard]] std::uint32_t importZRTrack(EditSession& session, std::uint32_t listID,
                                          std::int32_t trackNo, std::uint32_t sourceID);
/// Removes a track and its mixer unit; the tracks after it move down by one. One already removed
/// is left alone. ZR_E_INVALID_TRACK_NUMBER for the last remaining track.
[[nodiscard]] std::uint32_t deleteZRTrack(EditSession& session, std::uint32_t trackID);

} // namespace kor
