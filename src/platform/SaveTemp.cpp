#include "platform/SaveTemp.h"

#include "platform/FileCalls.h"
#include "platform/TempFile.h"

#include <algorithm>
#include <memory>
#include <cerrno>
#include <string_view>
#include <system_error>

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kor::platform {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kPrefix = ".korsave";
constexpr std::size_t kDigits = 16;

// The names claimTempName() makes with our prefix, and no others.
bool isOurName(std::string_view name) {
    constexpr std::string_view suffix = ".tmp";
    if (name.size() != kPrefix.size() + kDigits + suffix.size() || !name.starts_with(kPrefix) ||
        !name.ends_with(suffix))
        return false;
    const std::string_view digits = name.substr(kPrefix.size(), kDigits);
    return std::all_of(digits.begin(), digits.end(),
                       [](char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'); });
}

// Whether the name still leads to the open file: a cleaner may have removed it before we locked.
bool stillNamed(int fd, const fs::path& path) {
    struct stat opened {};
    struct stat named {};
    return ::fstat(fd, &opened) == 0 && ::lstat(path.c_str(), &named) == 0 &&
           opened.st_dev == named.st_dev && opened.st_ino == named.st_ino;
}

// Locks a file just given the name `path`. False, with errno EEXIST so that the search moves on
// to the next name, when a cleaner removed the name before the lock was taken. A file system
// without locks leaves the file unlocked; no cleaner can lock it there either, so none removes
// it. A second name of an existing file is locked without waiting (`wait` false), since another
// program may hold that file locked for good: false with EWOULDBLOCK then, the name removed.
bool lockNew(int fd, const fs::path& path, bool wait) {
    if (::flock(fd, wait ? LOCK_EX : LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK) {
        ::unlink(path.c_str());
        ::close(fd);
        errno = EWOULDBLOCK;
        return false;
    }
    if (stillNamed(fd, path)) return true;
    ::close(fd);
    errno = EEXIST;
    return false;
}

} // namespace

SaveTemp::~SaveTemp() {
    remove();
}

void SaveTemp::remove() {
    // Removed while still locked, so that no cleaner can take the name in between.
    if (!path_.empty()) ::unlink(path_.c_str());
    release();
}

void SaveTemp::release() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    path_.clear();
}

bool SaveTemp::create(const fs::path& folder) {
    remove();
    int fd = -1;
    const auto claim = [&fd](const fs::path& candidate) {
        fd = fileCalls().open(candidate.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        return fd >= 0 && lockNew(fd, candidate, true);
    };
    if (const std::error_code error = claimTempName(folder, kPrefix, claim, path_)) {
        errno = error.value();
        return false;
    }
    fd_ = fd;
    return true;
}

bool SaveTemp::keep(const fs::path& original) {
    remove();
    const fs::path folder = original.parent_path();
    struct stat status {};
    if (::lstat(original.c_str(), &status) != 0) return false;
    if (S_ISLNK(status.st_mode)) return keepLink(original);
    int fd = -1;
    const auto claim = [&](const fs::path& candidate) {
        if (fileCalls().link(original.c_str(), candidate.c_str()) != 0) return false;
        // Without blocking, so that a pipe in the file's place cannot stop the save.
        fd = fileCalls().open(candidate.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC, 0);
        if (fd >= 0) return lockNew(fd, candidate, false);
        const int error = errno;
        ::unlink(candidate.c_str());
        errno = error;
        return false;
    };
    const std::error_code error = claimTempName(folder, kPrefix, claim, path_);
    if (!error) {
        fd_ = fd;
        return true;
    }
    if (error != std::errc::operation_not_permitted && error != std::errc::not_supported &&
        error != std::errc::function_not_supported &&
        error != std::errc::resource_unavailable_try_again)
        return false;
    // A file system without hard links (FAT, for one), or a file another program holds locked:
    // keep a copy with the same permissions, but the saver's own, so without the set-ID bits.
    if (create(folder) && ::fchmod(fd_, status.st_mode & 0777) == 0 && appendFile(fd_, original) &&
        fileCalls().fsync(fd_) == 0)
        return true;
    remove();
    return false;
}

// A link cannot be opened, and so neither locked nor told from another entry, through a hard
// link to it: it is kept as a new link of the same content, held by a descriptor of the link
// itself. No cleaner removes such a link (it removes regular files only), so the link a killed
// save left stays.
bool SaveTemp::keepLink(const fs::path& original) {
    std::error_code error;
    const fs::path content = fs::read_symlink(original, error);
    if (error) {
        errno = error.value();
        return false;
    }
    int fd = -1;
    const auto claim = [&](const fs::path& candidate) {
        if (::symlink(content.c_str(), candidate.c_str()) != 0) return false;
        fd = fileCalls().open(candidate.c_str(), O_PATH | O_NOFOLLOW | O_CLOEXEC, 0);
        if (fd >= 0) return true;
        const int failed = errno;
        ::unlink(candidate.c_str());
        errno = failed;
        return false;
    };
    if (const std::error_code failed =
            claimTempName(original.parent_path(), kPrefix, claim, path_)) {
        errno = failed.value();
        return false;
    }
    fd_ = fd;
    return true;
}

bool SaveTemp::displace(const fs::path& original) {
    if (!keep(original)) return false;
    if (::unlink(original.c_str()) == 0) return true;
    remove();
    return false;
}

bool SaveTemp::putBack(const fs::path& original) {
    const bool renamed = fileCalls().rename(path_.c_str(), original.c_str()) == 0;
    release();
    return renamed;
}

// Read with opendir: the standard directory iterator allocates inside noexcept functions, so
// running out of memory there would end the process. A folder that cannot be read ends the
// clean-up; running out of memory goes to the caller.
void SaveTemp::removeStale(const fs::path& folder) {
    const fs::path where = folder.empty() ? fs::path(".") : folder;
    const std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(where.c_str()), &::closedir);
    if (dir == nullptr) return;
    while (const dirent* entry = ::readdir(dir.get())) {
        if (!isOurName(entry->d_name)) continue;
        const fs::path path = where / entry->d_name;
        const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) continue;
        struct stat status {};
        if (::fstat(fd, &status) == 0 && S_ISREG(status.st_mode) && status.st_uid == ::geteuid() &&
            ::flock(fd, LOCK_EX | LOCK_NB) == 0 && stillNamed(fd, path))
            ::unlink(path.c_str());
        ::close(fd);
    }
}

} // namespace kor::platform
