// Taking the score out of a compressed MusicXML file, as the XML reader reads it.
#pragma once

#include "formats/xml/XmlSource.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace kor {

/// The most bytes the container file of a compressed score may inflate to.
inline constexpr std::size_t kMaxContainerBytes = std::size_t{1} << 20;
/// The most bytes the score of a compressed file may inflate to: more than the largest
/// orchestral score, far less than a zip bomb would give.
inline constexpr std::size_t kMaxArchivedScoreBytes = std::size_t{32} << 20;

/// A compressed MusicXML file (a zip archive) opened for its score: the first root file its
/// META-INF/container.xml names, and nothing else. The score is inflated block by block as the XML
/// reader asks for it, so that it passes the reader's bounds as a plain file does and is never
/// held whole. Owns the open archive.
class CZRMusicXmlArchive final : public AZRXmlSource {
public:
    /// An archive whose score is refused once it inflates to more than `maxScoreBytes`.
    explicit CZRMusicXmlArchive(std::size_t maxScoreBytes = kMaxArchivedScoreBytes);
    ~CZRMusicXmlArchive() override;

    /// Opens the archive at `path`, reads its container and opens the root file it names. 0, or
    /// ZR_E_FILE_NOT_FOUND, ZR_E_INVALID_MUSICXML_ARCHIVE (no zip archive, no container or root
    /// file, an entry that cannot be inflated or that declares more bytes than its bound),
    /// ZR_E_INVALID_XML_FILE (a container that is no well-formed document),
    /// ZR_E_NOT_ENOUGH_MEMORY; message() then says why.
    [[nodiscard]] std::uint32_t open(const std::wstring& path);
    /// The root file's name within the archive, once open.
    const std::wstring& rootFile() const { return rootFile_; }

    /// The next inflated bytes of the score. It ends early, with failure() set, where the score
    /// is damaged or grows past its bound.
    [[nodiscard]] std::size_t read(std::byte* buffer, std::size_t size) override;
    /// 0 while the score inflates well, else ZR_E_INVALID_MUSICXML_ARCHIVE with message() saying
    /// why.
    std::uint32_t failure() const { return failure_; }
    const std::wstring& message() const { return message_; }

    /// The bytes of scores inflated by this process so far: what shows that an import inflates
    /// its score once.
    static std::uint64_t inflatedScoreBytes();

private:
    struct Zip;

    std::uint32_t refuse(std::wstring reason);

    std::size_t maxScoreBytes_;
    std::unique_ptr<Zip> zip_;
    std::wstring rootFile_;
    std::size_t inflated_ = 0;
    std::uint32_t failure_ = 0;
    std::wstring message_;
};

} // namespace kor
