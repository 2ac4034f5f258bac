// Writing songs out of the manager: saving the current song with its WAV part files, and
// exporting one track or one musical part as a song file of its own.
#pragma once

#include <korman/ZRFileFormat.h>
#include <korman/ZRObjType.h>

#include <cstdint>

class CZRKorManagerImpl;

namespace kor {

// Both set the manager's last error and message: 0 and "OK" on success, else the code and its
// text. Neither takes a manager lock.

/// Writes the current song as a KOR3 file at `path` (at the file it names, when it is a symbolic
/// link) and carries the files of its WAV parts from the parts folder of its previous file (or
/// of its temporary file) to the one of `path`. The save is all or nothing: the song file and
/// every WAV part file are written in full to temporary files beside their targets and flushed
/// to the disk before any takes its place; the WAV part files then go in place, the song file
/// last, and a failure on the way takes back those already in place (see commitTogether). A
/// failed save thus leaves the previous song file and its parts folder byte for byte as they
/// were. The folder of `path` stays locked (FolderLock) from staging the WAV part files to
/// removing a parts folder the song no longer needs, so that two saves of one path, in one
/// process or two, never leave a song file without the WAV files it names. A WAV part file that
/// another program removed from the song's parts folder is carried along from the copy the song
/// holds open since its load or last save. On success the song belongs to `path`, holds the files
/// of its new parts folder open, has no temporary file any more, and counts as unmodified. Fails
/// with ZR_E_FILE_IS_NOT_LOADED, ZR_E_CANNOT_SAVE_FILE (the song file cannot be written or put in
/// place) or ZR_E_CANNOT_SAVE_WAV_FILE (a WAV part's file is missing or cannot be copied or put in
/// place, or the parts folder or a file in it belongs to another user; dangling parts, whose file
/// was missing at load, are passed over); the manager's song is unchanged then.
bool saveKorFile(CZRKorManagerImpl& manager, const wchar_t* path);

/// Writes the ZR track or musical part `objID` (of the kind `kind`) of the current song as a song
/// of its own: a copy of the master track and of the VVoice table, and the object as track 0 with
/// a default mixer channel (a part inside a new track "Track"). The current song is not touched.
/// Fails with ZR_E_FILE_IS_NOT_LOADED, ZR_E_EXPORT_TARGET_NOT_FOUND, ZR_E_INVALID_KOR3_FILE (the
/// song cannot be built) or the writer's code.
bool exportSongPart(CZRKorManagerImpl& manager, std::uint32_t objID, ZRObjType kind,
                    const wchar_t* path);

/// Writes the current song as a standard MIDI file (exportSmf). Fails with
/// ZR_E_FILE_IS_NOT_LOADED or the exporter's code.
bool exportSmfFile(CZRKorManagerImpl& manager, const wchar_t* path,
                   const ZRSMFExportOptions& options);

} // namespace kor
