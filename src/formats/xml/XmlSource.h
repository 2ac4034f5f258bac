// The bytes of one XML document as the bounded reader takes them: from a file, from memory, or
// from anything else that hands out blocks (an entry of a compressed score).
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace kor {

/// Hands out the bytes of a document in order, block by block; the reader owns nothing of it and
/// asks for each block only as it parses. A source that cannot go on (a read error, a bound of its
/// own) ends as if the document ended there and keeps why, for its owner to report after the
/// parse: the reader then sees a document cut short.
class AZRXmlSource {
public:
    AZRXmlSource() = default;
    virtual ~AZRXmlSource() = default;
    AZRXmlSource(const AZRXmlSource&) = delete;
    AZRXmlSource& operator=(const AZRXmlSource&) = delete;

    /// Up to `size` bytes of the document into `buffer`; 0 at its end.
    [[nodiscard]] virtual std::size_t read(std::byte* buffer, std::size_t size) = 0;
};

/// A local file, opened at once (never taken for a URL) and read through its own descriptor,
/// which closes with the source.
class CZRXmlFileSource final : public AZRXmlSource {
public:
    /// Opens `path` for reading; isOpen() tells whether that worked (not for a folder).
    explicit CZRXmlFileSource(const std::filesystem::path& path);
    ~CZRXmlFileSource() override;

    bool isOpen() const { return fd_ >= 0; }
    /// A read error ends the document like the end of the file.
    [[nodiscard]] std::size_t read(std::byte* buffer, std::size_t size) override;

private:
    int fd_ = -1;
};

/// Bytes held in memory, borrowed: they must outlive the source.
class CZRXmlMemorySource final : public AZRXmlSource {
public:
    explicit CZRXmlMemorySource(std::string_view bytes)
        : bytes_(bytes) {}

    [[nodiscard]] std::size_t read(std::byte* buffer, std::size_t size) override;

private:
    std::string_view bytes_;
};

} // namespace kor
