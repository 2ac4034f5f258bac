// Taking the score out of a compressed MusicXML file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace kor {

/// The most bytes the container file of a compressed score may inflate to.
inline constexpr std::size_t kMaxContainerBytes = std::size_t{1} << 20;
/// The most bytes the score of a compressed file may inflate to: far more than the largest
/// orchestral score, far less than a zip bomb would give.
inline constexpr std::size_t kMaxArchivedScoreBytes = std::size_t{128} << 20;

/// Reads the compressed MusicXML file (a zip archive) at `path`: the first root file its
/// META-INF/container.xml names is inflated into `document`, and nothing else is read; its name
/// within the archive goes to `rootFile`. 0, or ZR_E_FILE_NOT_FOUND, ZR_E_INVALID_MUSICXML_ARCHIVE
/// (no zip archive, no container or root file, an entry that cannot be inflated, or one larger
/// than its bound), ZR_E_INVALID_XML_FILE (a container that is no well-formed document),
/// ZR_E_NOT_ENOUGH_MEMORY; `message` then says why. `maxScoreBytes` bounds the score.
[[nodiscard]] std::uint32_t readMusicXmlArchive(const std::wstring& path, std::string& document,
                                                std::wstring& rootFile, std::wstring& message,
                                                std::size_t maxScoreBytes = kMaxArchivedScoreBytes);

} // namespace kor
