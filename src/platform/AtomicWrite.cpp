#include "platform/AtomicWrite.h"

#include "platform/FileSystem.h"
#include "platform/Path.h"
#include "platform/TempFile.h"

#include <cerrno>
#include <optional>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kor::platform {

namespace {

/// Writes all of `bytes` to `fd`, going on after short writes and interruptions.
bool writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

/// Fills the temporary file `temp` and gives it the permission bits of `target`, if that exists.
bool fill(const std::filesystem::path& temp, const std::filesystem::path& target,
          std::string_view bytes) {
    const int fd = ::open(temp.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
    if (fd < 0) return false;
    bool done = writeAll(fd, bytes);
    struct stat existing {};
    if (done && ::stat(target.c_str(), &existing) == 0)
        done = ::fchmod(fd, existing.st_mode & 07777) == 0;
    return ::close(fd) == 0 && done;
}

} // namespace

AtomicWriteResult writeFileAtomically(const std::wstring& path, std::string_view bytes) {
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
    if (temp && fill(*temp, *target, bytes) && ::rename(temp->c_str(), target->c_str()) == 0)
        return AtomicWriteResult::Done;
    if (temp) ::unlink(temp->c_str());
    return AtomicWriteResult::CannotWrite;
}

} // namespace kor::platform
