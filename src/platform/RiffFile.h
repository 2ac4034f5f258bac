// Reading RIFF files (WAV among them): walking their nested chunks and reading chunk data.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kor::platform {

/// A chunk entered by RiffFile::descendIntoForm() or descendIntoChunk().
struct RiffChunk {
    /// Data size as the walk uses it: the declared size cut to what the parent chunk holds; a
    /// RIFF form reaches to its parent's end whatever it declares, and its size includes the
    /// four-byte form type.
    std::uint32_t size = 0;
    /// File offset of the data, just past the eight-byte chunk header.
    std::uint64_t dataOffset = 0;
};

/// A RIFF file open for reading, with a stack of the chunks descended into. Chunks are looked for
/// from the current position up to the end of the innermost open chunk (the whole file at the top
/// level). A declared size is never trusted past the bytes its parent holds: a chunk is cut to
/// them, and a RIFF form always reaches to its parent's end, so files whose writer never fixed a
/// size, or that lost their last bytes, still open. A chunk's end is fixed before its id is
/// compared, so chunks of unknown kinds, odd sizes (padded to even) or partly read data never
/// throw the walk off, and every step moves forward by at least a chunk header. Failures return
/// false or nullopt and leave the position and the open chunks as they were.
class RiffFile {
public:
    RiffFile() = default;
    ~RiffFile();
    RiffFile(const RiffFile&) = delete;
    RiffFile& operator=(const RiffFile&) = delete;
    RiffFile(RiffFile&&) = delete;
    RiffFile& operator=(RiffFile&&) = delete;

    /// Opens a regular file for reading at position 0, closing any file open before.
    [[nodiscard]] bool open(const std::wstring& path);
    void close();
    bool isOpen() const { return fd_ >= 0; }

    /// Finds the next "RIFF" chunk whose form type (four characters) is formType and enters it;
    /// the position is then just past the form type, at its first sub-chunk.
    std::optional<RiffChunk> descendIntoForm(std::string_view formType);

    /// Finds the next chunk whose id (four characters) is id and enters it; the position is then
    /// at the start of its data.
    std::optional<RiffChunk> descendIntoChunk(std::string_view id);

    /// Leaves the innermost open chunk: the position moves to its end, padded to an even size.
    /// False when no chunk is open.
    [[nodiscard]] bool ascend();

    /// Reads up to size bytes at the position and advances past them; the result is the number
    /// read, less than size only at the end of the file or on a read error. Reading is not
    /// limited to the open chunk.
    std::size_t read(void* buffer, std::size_t size);

    enum class Origin { Begin, Current };
    /// Moves the position by offset from the origin; a position past the end of the file is
    /// allowed (reads there return nothing), a negative one fails.
    [[nodiscard]] bool seek(std::int64_t offset, Origin origin);

    std::uint64_t position() const { return position_; }

private:
    struct OpenChunk {
        RiffChunk chunk;
        std::uint64_t end; // end of the data, before padding
    };

    std::optional<RiffChunk> descend(std::string_view id, std::string_view formType);
    std::size_t readAt(std::uint64_t offset, void* buffer, std::size_t size) const;

    int fd_ = -1;
    std::uint64_t fileSize_ = 0;
    std::uint64_t position_ = 0;
    std::vector<OpenChunk> open_;
};

} // namespace kor::platform
