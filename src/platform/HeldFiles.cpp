#include "platform/HeldFiles.h"

#include <algorithm>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kor::platform {

HeldFiles::~HeldFiles() {
    closeAll();
}

HeldFiles::HeldFiles(HeldFiles&& other) noexcept
    : files_(std::exchange(other.files_, {})) {}

HeldFiles& HeldFiles::operator=(HeldFiles&& other) noexcept {
    if (this != &other) {
        closeAll();
        files_ = std::exchange(other.files_, {});
    }
    return *this;
}

void HeldFiles::closeAll() noexcept {
    for (Held& file : files_) {
        if (file.fd >= 0) ::close(file.fd);
        file.fd = -1;
    }
}

void HeldFiles::add(std::string name) {
    if (std::none_of(files_.begin(), files_.end(),
                     [&name](const Held& file) { return file.name == name; }))
        files_.push_back({std::move(name), -1});
}

void HeldFiles::openIn(const std::filesystem::path& folder) noexcept {
    closeAll();
    const int dir =
        ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir < 0) return;
    for (std::size_t i = 0; i < files_.size() && i < kMostHeld; ++i) {
        Held& file = files_[i];
        // Without blocking, so that a pipe put in the file's place cannot stop the caller.
        file.fd = ::openat(dir, file.name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        struct stat status {};
        if (file.fd >= 0 && (::fstat(file.fd, &status) != 0 || !S_ISREG(status.st_mode))) {
            ::close(file.fd);
            file.fd = -1;
        }
    }
    ::close(dir);
}

int HeldFiles::find(std::string_view name) const {
    const auto held = std::find_if(files_.begin(), files_.end(),
                                   [name](const Held& file) { return file.name == name; });
    return held != files_.end() ? held->fd : -1;
}

} // namespace kor::platform
