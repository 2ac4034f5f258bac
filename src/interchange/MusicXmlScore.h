// Reading a MusicXML score, plain or compressed, into the score the import needs.
#pragma once

#include "interchange/Score.h"

#include <korman/ZRFileFormat.h>

#include <cstddef>
#include <cstdint>
#include <string>

namespace kor {

/// The most notes (note elements, rests and grace notes among them) a score may hold.
inline constexpr std::size_t kMaxScoreNotes = 1'000'000;

/// Reads the score-partwise MusicXML file at `path`, plain or compressed (found by its content,
/// not its name), into `score`; a compressed score is inflated as it is read, under the same
/// bounds. 0, or ZR_E_FILE_NOT_FOUND, ZR_E_INVALID_XML_FILE (the document is not well-formed, or
/// breaks a bound of the reader), ZR_E_INVALID_MUSICXML (no score-partwise document, more than
/// kMaxScoreNotes notes, or values no song can hold), ZR_E_INVALID_MUSICXML_ARCHIVE (a compressed
/// file that is damaged or whose score is too large), ZR_E_NOT_ENOUGH_MEMORY,
/// ZR_E_CANNOT_INITIALIZE_XML_PARSER; `message` then says where and why.
[[nodiscard]] std::uint32_t readMusicXmlScore(const std::wstring& path, MusicXmlScore& score,
                                              std::wstring& message);

/// ZR_FILE_FORMAT_MUSICXML for a file whose document's root is a MusicXML score, read up to that
/// element only; for a compressed score, its container and the root file's first element are
/// read, nothing more. Else ZR_FILE_FORMAT_UNKNOWN.
ZRFileFormat musicXmlFileFormat(const std::wstring& path);

} // namespace kor
