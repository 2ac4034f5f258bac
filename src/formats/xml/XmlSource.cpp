#include "formats/xml/XmlSource.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kor {

CZRXmlFileSource::CZRXmlFileSource(const std::filesystem::path& path) {
    fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    struct stat status {};
    if (fd_ >= 0 && (::fstat(fd_, &status) != 0 || S_ISDIR(status.st_mode))) {
        ::close(fd_);
        fd_ = -1;
    }
}

CZRXmlFileSource::~CZRXmlFileSource() {
    if (fd_ >= 0) ::close(fd_);
}

std::size_t CZRXmlFileSource::read(std::byte* buffer, std::size_t size) {
    if (fd_ < 0) return 0;
    ssize_t count = 0;
    do {
        count = ::read(fd_, buffer, size);
    } while (count < 0 && errno == EINTR);
    return count > 0 ? static_cast<std::size_t>(count) : 0;
}

std::size_t CZRXmlMemorySource::read(std::byte* buffer, std::size_t size) {
    const std::size_t count = std::min(size, bytes_.size());
    std::memcpy(buffer, bytes_.data(), count);
    bytes_.remove_prefix(count);
    return count;
}

} // namespace kor
