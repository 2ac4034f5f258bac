// Where the audio files of a song's WAV parts live, and checking them after a load.
#pragma once

#include <optional>
#include <string>
#include <string_view>

class CZRKorDocument;
class CZRWAVPart;

namespace kor {

/// The folder beside a song file that holds the audio files of its WAV parts: the song's path
/// without its extension, plus ".wavparts" ("songs/a.korx" gives "songs/a.wavparts").
std::wstring wavPartsFolder(std::wstring_view songPath);

/// The path a song's WAV parts folder hangs off: its file, or its temporary file while it has
/// none.
const std::wstring& songBasePath(const CZRKorDocument& document);

/// The file a WAV part plays: its own path when that path stands by itself (is rooted), else its
/// file name inside the song's WAV parts folder.
std::wstring actualWavPath(const CZRKorDocument& document, const CZRWAVPart& part);

/// Opens the file of every WAV part of the sound-effect track, then of the backing track, and
/// fills the document's dangling list with the parts whose file cannot be opened (the reader
/// takes mono and stereo PCM) or has a sampling rate or resolution a song cannot hold. The
/// other parts take the file's channel count, sampling rate, resolution and length, and the
/// files of those in the parts folder are held open (wavSources) for the saves to come. False
/// only when a track's list holds something that is not a WAV part.
[[nodiscard]] bool checkWavParts(CZRKorDocument& document);

} // namespace kor
