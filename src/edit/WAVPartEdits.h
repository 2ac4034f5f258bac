// The WAV part operations of the editor: update, move, insert from a file or the import buffer,
// and delete a WAV part of an audio track.
#pragma once

#include <korman/ZREditValues.h>

#include <cstdint>
#include <string>

namespace kor {

class EditSession;

// Each records its change in `session` and returns 0, or the one error code of its failure:
// ZR_E_EDIT_TARGET_NOT_FOUND for a missing part or list, the record lookup's codes, and
// ZR_E_EDIT_TARGET_DELETED for a part this editor has removed already.

/// Sets play time, name and comment. A play time below 60: ZR_E_INVALID_PART_PLAY_TIME.
[[nodiscard]] std::uint32_t updateWAVPart(EditSession& session, std::uint32_t partID,
                                          const ZRWAVPartValue& value);
/// Sets position, play time, name and comment. ZR_E_NO_MASTER_TRACK without a master track,
/// ZR_E_INVALID_PART_POSITION for a start before the end of the pre-measures,
/// ZR_E_INVALID_PART_PLAY_TIME for a play time below 60, ZR_E_INVALID_PART_DURATION when the
/// part would end beyond the policy's upper tick limit.
[[nodiscard]] std::uint32_t moveWAVPart(EditSession& session, std::uint32_t partID,
                                        const ZRWAVPartValue& value);
/// Inserts into the WAV part list `listID` a part at `posTick` that plays the WAV file at
/// `filePath`, named after the file. The file is copied into the song's WAV parts folder (made
/// when missing) and the part refers to it there by its file name; a file already in that folder
/// stays as it is. When another file of that name is there, `replace` nonzero overwrites it, 0
/// keeps it and gives the copy the first free name "<name>_2<ext>", "<name>_3<ext>", ...
/// Checks, in this order: ZR_E_INVALID_WAVE_FILE_PATH for an empty path; ZR_E_INVALID_WAVE_FILE
/// when the file is no PCM WAV file; ZR_E_INVALID_WAVE_SAMPLING_RATE for a rate other than
/// 44100, 48000 or 96000 and ZR_E_INVALID_WAVE_SAMPLING_RESOLUTION for other than 16 bits;
/// ZR_E_NO_MASTER_TRACK; ZR_E_INVALID_WAVE_FILE_DURATION for a file without samples;
/// ZR_E_INVALID_PART_POSITION for a start before the end of the pre-measures,
/// ZR_E_INVALID_PART_PLAY_TIME for a part shorter than 60 ticks there and
/// ZR_E_INVALID_PART_DURATION for one ending beyond the policy's upper tick limit;
/// ZR_E_INVALID_WAVE_CHANNELS when the file is neither mono nor stereo (either track takes
/// both; the part keeps the file's count); ZR_E_OUT_OF_WAV_PART_NUMBER when the track holds the
/// policy's most parts per track already. ZR_E_CANNOT_SAVE_WAV_FILE when the file
/// cannot be stored in the folder (or the song has no path to place the folder by);
/// ZR_E_UPDATE_FAILED when the part cannot be made or linked.
[[nodiscard]] std::uint32_t insertWAVPartFromFile(EditSession& session, std::uint32_t listID,
                                                  std::int32_t posTick,
                                                  const std::wstring& filePath,
                                                  std::int32_t replace);
/// Inserts at `posTick` a WAV part playing the file of the WAV part `sourceID` of the song in
/// the import buffer, with its name and comment, as insertWAVPartFromFile with `replace` 0.
/// ZR_E_IMPORT_SOURCE_NOT_FOUND when the buffer holds no object `sourceID`,
/// ZR_E_EDIT_TARGET_WRONG_TYPE when it is not a WAV part.
[[nodiscard]] std::uint32_t importWAVPart(EditSession& session, std::uint32_t listID,
                                          std::int32_t posTick, std::uint32_t sourceID);
/// Removes a WAV part from its track; one already removed is left alone. Its audio file stays
/// in the WAV parts folder, so that undo finds it again. ZR_E_UPDATE_FAILED when the removal
/// fails.
[[nodiscard]] std::uint32_t deleteWAVPart(EditSession& session, std::uint32_t partID);

} // namespace kor
