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
/// owned by the reader; `progress` is borrowed and must outlive the parse.
class CZRGuardedFileInput final : public XERCES_CPP_NAMESPACE::InputSource {
public:
    CZRGuardedFileInput(std::filesystem::path path, const std::u16string& systemId,
                        ZRXmlReadProgress& progress, std::uint64_t maxQuietBytes);

    /// A new stream over the file (owned by the caller), or null when it cannot be opened.
    XERCES_CPP_NAMESPACE::BinInputStream* makeStream() const override;

private:
    std::filesystem::path path_;
    ZRXmlReadProgress& progress_;
    std::uint64_t maxQuietBytes_;
};

} // namespace kor
