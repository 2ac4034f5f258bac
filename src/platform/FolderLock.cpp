#include "platform/FolderLock.h"

#include <cerrno>
#include <thread>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace kor::platform {

FolderLock::~FolderLock() {
    if (fd_ >= 0) ::close(fd_); // closing the last descriptor of the folder lets go of the lock
}

bool FolderLock::lock(const std::filesystem::path& folder) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd_ < 0) return true;
    // A blocking flock cannot be given up after a while, so ask without blocking and wait
    // between the questions.
    const auto giveUp = std::chrono::steady_clock::now() + kPatience;
    while (::flock(fd_, LOCK_EX | LOCK_NB) != 0) {
        if (errno != EWOULDBLOCK && errno != EINTR) return true;
        if (std::chrono::steady_clock::now() >= giveUp) {
            ::close(fd_);
            fd_ = -1;
            errno = EWOULDBLOCK;
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

} // namespace kor::platform
