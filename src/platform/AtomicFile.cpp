#include "platform/AtomicFile.h"

#include "platform/FileSystem.h"
#include "platform/Path.h"
#include "platform/TempFile.h"

#include <cerrno>
#include <optional>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kor::platform {

AtomicFile::~AtomicFile() {
    discard();
}

void AtomicFile::discard() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    if (!temp_.empty()) ::unlink(temp_.c_str());
    temp_.clear();
}

AtomicWriteResult AtomicFile::open(const std::wstring& path) {
    discard();
    failed_ = true;
    const std::optional<std::filesystem::path> target = toPath(path);
    if (!target || fileNamePart(path).empty()) return AtomicWriteResult::CannotOpen;
    if (const auto attributes = fileAttributes(path);
        attributes && (attributes->directory || attributes->readOnly))
        return AtomicWriteResult::CannotOpen;

    std::wstring folder(folderPart(path));
    if (folder.empty()) folder = L".";
    std::wstring tempPath;
    if (createTempFile(folder, L"kor", tempPath)) return AtomicWriteResult::CannotOpen;
    const std::optional<std::filesystem::path> temp = toPath(tempPath);
    if (!temp) return AtomicWriteResult::CannotOpen;
    temp_ = *temp;
    fd_ = ::open(temp_.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
    if (fd_ < 0) {
        discard();
        return AtomicWriteResult::CannotOpen;
    }
    target_ = *target;
    failed_ = false;
    return AtomicWriteResult::Done;
}

// Goes on after short writes and interruptions; the first real failure sticks.
bool AtomicFile::write(std::string_view bytes) {
    while (!failed_ && !bytes.empty()) {
        const ssize_t written = ::write(fd_, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno != EINTR) failed_ = true;
            continue;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return !failed_;
}

AtomicWriteResult AtomicFile::commit() {
    bool done = !failed_;
    struct stat existing {};
    if (done && ::stat(target_.c_str(), &existing) == 0)
        done = ::fchmod(fd_, existing.st_mode & 07777) == 0;
    if (fd_ >= 0 && ::close(fd_) != 0) done = false;
    fd_ = -1;
    if (!done || ::rename(temp_.c_str(), target_.c_str()) != 0) {
        discard();
        return AtomicWriteResult::CannotWrite;
    }
    temp_.clear();
    failed_ = true; // a committed file takes no more bytes
    return AtomicWriteResult::Done;
}

} // namespace kor::platform
