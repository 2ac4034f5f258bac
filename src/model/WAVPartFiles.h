// Where the audio files of a song's WAV parts live: the WAV parts folder beside the song file.
#pragma once

#include <string>

class CZRKorDocument;
class CZRWAVPart;

namespace kor {

/// The WAV parts folder of `document`: its file path, or its temporary file path while it has
/// none, without the extension and with ".wavparts" appended ("a/song.korx" gives
/// "a/song.wavparts"). Empty when the document has neither path.
std::wstring wavPartsFolder(const CZRKorDocument& document);

/// The audio file `part` of `document` plays: the part's own path when it is rooted, else the
/// file name of that path in the document's WAV parts folder.
std::wstring actualWAVFilePath(const CZRKorDocument& document, const CZRWAVPart& part);

} // namespace kor
