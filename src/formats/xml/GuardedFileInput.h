// A local file as the XML reader's input, cut off where the reader goes too far without a word.
#pragma once

#include <xercesc/sax/InputSource.hpp>

#include <cstdint>
#include <filesystem>
#include <string>

namespace kor {

/// What the parser tells its input while a document is read: how many events it has received,
/// and whether the innermost open element may hold text of any length. The input sets cutOff
/// when it stopped feeding the reader.
struct ZRXmlReadProgress {
    std::uint64_t events = 0;
    bool unlimitedText = false;
    bool cutOff = false;
};

/// The file at `path` as an input of the XML reader: opened as a file, never taken for a URL,
/// and read in the reader's own blocks. The XML reader keeps a text, a CDATA section, a comment
/// or a start tag whole in memory before it reports it, so the input ends early (the reader then
/// sees a truncated document) once more than `maxQuietBytes` have been read without an event of
/// the parser, unless the innermost open element may hold text of any length. The stream is
/// owned by the reader and made in `memory`, the reader's own; the file stays open until the
/// input ends, which must be after the parse. `progress` is borrowed and must outlive the parse.
class CZRGuardedFileInput final : public XERCES_CPP_NAMESPACE::InputSource {
public:
    CZRGuardedFileInput(std::filesystem::path path, const std::u16string& systemId,
                        ZRXmlReadProgress& progress, std::uint64_t maxQuietBytes,
                        XERCES_CPP_NAMESPACE::MemoryManager& memory);
    ~CZRGuardedFileInput() override;
    CZRGuardedFileInput(const CZRGuardedFileInput&) = delete;
    CZRGuardedFileInput& operator=(const CZRGuardedFileInput&) = delete;

    /// A new stream over the file from its start (owned by the caller, replacing any earlier
    /// one), or null when it cannot be opened.
    XERCES_CPP_NAMESPACE::BinInputStream* makeStream() const override;

private:
    std::filesystem::path path_;
    ZRXmlReadProgress& progress_;
    std::uint64_t maxQuietBytes_;
    mutable int fd_ = -1;
};

} // namespace kor
