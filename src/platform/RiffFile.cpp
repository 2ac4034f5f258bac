#include "platform/RiffFile.h"

#include "platform/Path.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <limits>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kor::platform {

namespace {

constexpr std::uint64_t kHeaderSize = 8;
constexpr std::size_t kTagSize = 4;

std::uint32_t littleEndian32(const unsigned char* bytes) {
    return std::uint32_t{bytes[0]} | std::uint32_t{bytes[1]} << 8 | std::uint32_t{bytes[2]} << 16 |
           std::uint32_t{bytes[3]} << 24;
}

} // namespace

RiffFile::~RiffFile() {
    close();
}

bool RiffFile::open(const std::wstring& path) {
    close();
    const std::optional<std::filesystem::path> native = toPath(path);
    if (!native) return false;
    const int fd = ::open(native->c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return false;
    }
    fd_ = fd;
    fileSize_ = static_cast<std::uint64_t>(info.st_size);
    return true;
}

void RiffFile::close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    fileSize_ = 0;
    position_ = 0;
    open_.clear();
}

std::optional<RiffChunk> RiffFile::descendIntoForm(std::string_view formType) {
    if (formType.size() != kTagSize) return std::nullopt;
    return descend("RIFF", formType);
}

std::optional<RiffChunk> RiffFile::descendIntoChunk(std::string_view id) {
    return descend(id, {});
}

std::optional<RiffChunk> RiffFile::descend(std::string_view id, std::string_view formType) {
    if (!isOpen() || id.size() != kTagSize) return std::nullopt;
    const std::uint64_t parentEnd = open_.empty() ? fileSize_ : open_.back().end;
    std::uint64_t at = position_;
    while (at <= parentEnd && parentEnd - at >= kHeaderSize) {
        unsigned char header[kHeaderSize];
        if (readAt(at, header, sizeof header) != sizeof header) return std::nullopt;
        const std::uint64_t dataOffset = at + kHeaderSize;
        const std::uint64_t room = parentEnd - dataOffset;
        // Recorders that stream leave the sizes they never came back to fix (0, 0xFFFFFFFF, or
        // the header alone), and copies lose their last bytes, pad byte included. So a RIFF form
        // reaches to the end of its parent whatever it declares, and any other chunk is cut to
        // what its parent holds.
        const std::uint64_t end =
            std::memcmp(header, "RIFF", kTagSize) == 0
                ? parentEnd
                : dataOffset + std::min<std::uint64_t>(littleEndian32(header + kTagSize), room);
        const RiffChunk chunk{static_cast<std::uint32_t>(std::min<std::uint64_t>(
                                  end - dataOffset, std::numeric_limits<std::uint32_t>::max())),
                              dataOffset};
        if (std::memcmp(header, id.data(), kTagSize) == 0) {
            if (formType.empty()) {
                open_.push_back({chunk, end});
                position_ = chunk.dataOffset;
                return chunk;
            }
            char type[kTagSize];
            if (chunk.size >= kTagSize && readAt(chunk.dataOffset, type, kTagSize) == kTagSize &&
                std::memcmp(type, formType.data(), kTagSize) == 0) {
                open_.push_back({chunk, end});
                position_ = chunk.dataOffset + kTagSize;
                return chunk;
            }
        }
        at = end + (chunk.size & 1);
    }
    return std::nullopt;
}

bool RiffFile::ascend() {
    if (open_.empty()) return false;
    const OpenChunk& innermost = open_.back();
    position_ = innermost.end + (innermost.chunk.size & 1);
    open_.pop_back();
    return true;
}

std::size_t RiffFile::read(void* buffer, std::size_t size) {
    if (!isOpen()) return 0;
    const std::size_t done = readAt(position_, buffer, size);
    position_ += done;
    return done;
}

bool RiffFile::seek(std::int64_t offset, Origin origin) {
    if (!isOpen()) return false;
    const std::uint64_t base = origin == Origin::Begin ? 0 : position_;
    // Unsigned negation gives the distance back even for the most negative offset.
    if (offset < 0 && 0 - static_cast<std::uint64_t>(offset) > base) return false;
    position_ = base + static_cast<std::uint64_t>(offset);
    return true;
}

std::size_t RiffFile::readAt(std::uint64_t offset, void* buffer, std::size_t size) const {
    auto* bytes = static_cast<unsigned char*>(buffer);
    std::size_t done = 0;
    while (done < size) {
        const ssize_t got =
            ::pread(fd_, bytes + done, size - done, static_cast<off_t>(offset + done));
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) break;
        done += static_cast<std::size_t>(got);
    }
    return done;
}

} // namespace kor::platform
