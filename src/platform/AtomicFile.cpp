#include "platform/AtomicFile.h"

#include "platform/FileCalls.h"
#include "platform/Path.h"

#include <cerrno>
#include <optional>
#include <system_error>

#include <sys/stat.h>
#include <unistd.h>

namespace kor::platform {

namespace fs = std::filesystem;

namespace {

// Whether the kernel would follow the link at `link`, of status `status`, for a user other than
// its owner: not in a folder that is sticky and writable by everyone, unless the link belongs to
// the follower or to the folder's owner (fs.protected_symlinks). A folder that cannot be looked
// at is taken for such a folder.
bool followsLikeTheKernel(const fs::path& link, const struct stat& status) {
    struct stat folder {};
    const fs::path parent = link.parent_path();
    if (::stat(parent.empty() ? "." : parent.c_str(), &folder) != 0) return false;
    const bool shared = (folder.st_mode & S_ISVTX) != 0 && (folder.st_mode & S_IWOTH) != 0;
    return !shared || status.st_uid == ::geteuid() || status.st_uid == folder.st_uid;
}

// Follows the symbolic links at `path`, a relative one from its own folder, until something
// that is no link, or nothing, stands there: 0 with `path` naming it, else ELOOP for a loop, the
// reason a link cannot be read, or EACCES with `path` naming a link the kernel would not follow.
int followLinks(fs::path& path) {
    for (int hops = 0; hops < 40; ++hops) {
        struct stat status {};
        if (::lstat(path.c_str(), &status) != 0 || !S_ISLNK(status.st_mode)) return 0;
        if (!followsLikeTheKernel(path, status)) return EACCES;
        std::error_code error;
        const fs::path next = fs::read_symlink(path, error);
        if (error) return error.value();
        path = next.is_absolute() ? next : path.parent_path() / next;
    }
    return ELOOP;
}

// Gives the new file open as `fd` the permission bits, owner and group of the regular file of
// status `replaced`. Where the owner and group cannot be given (EPERM: only the superuser gives
// a file away, and an owner only to a group of their own), the file stays the saver's and loses
// the set-user-ID and set-group-ID bits. The owner goes first, as changing it clears those bits.
bool takeOver(int fd, const struct stat& replaced) {
    mode_t mode = replaced.st_mode & 07777;
    struct stat made {};
    if (::fstat(fd, &made) != 0) return false;
    if ((made.st_uid != replaced.st_uid || made.st_gid != replaced.st_gid) &&
        ::fchown(fd, replaced.st_uid, replaced.st_gid) != 0) {
        if (errno != EPERM) return false;
        mode &= ~mode_t{06000};
    }
    return ::fchmod(fd, mode) == 0;
}

} // namespace

AtomicWriteResult AtomicFile::open(const std::wstring& path, LinkUse links) {
    temp_.remove();
    previous_.remove();
    failed_ = true;
    named_ = path;
    failure_ = {};
    const auto refuse = [this](int error, std::wstring hint = {}) {
        failure_ = {L"save", named_, error, std::move(hint)};
        return AtomicWriteResult::CannotOpen;
    };
    const std::optional<fs::path> named = toPath(path);
    if (!named) return refuse(EILSEQ);
    if (fileNamePart(path).empty()) return refuse(0, L"the path names a folder, not a file");
    target_ = *named;
    if (links == LinkUse::FollowAsTheKernel) {
        if (const int error = followLinks(target_); error == EACCES)
            return refuse(error, L"the link " + pathText(target_) +
                                     L" lies in a folder anyone may write and belongs to "
                                     L"another user");
        else if (error != 0)
            return refuse(error);
    }
    struct stat existing {};
    if (::lstat(target_.c_str(), &existing) == 0) {
        if (S_ISDIR(existing.st_mode)) return refuse(EISDIR);
        if (S_ISREG(existing.st_mode) && (existing.st_mode & S_IWUSR) == 0)
            return refuse(EACCES, L"the file is read-only");
    }
    folder_ = target_.parent_path();
    SaveTemp::removeStale(folder_);
    if (!temp_.create(folder_)) {
        fail(errno, true);
        return AtomicWriteResult::CannotOpen;
    }
    failed_ = false;
    return AtomicWriteResult::Done;
}

bool AtomicFile::write(std::string_view bytes) {
    if (!failed_ && !writeAll(temp_.fd(), bytes)) fail(errno, false);
    return !failed_;
}

bool AtomicFile::copyFrom(const std::wstring& source) {
    if (failed_) return false;
    const std::optional<fs::path> from = toPath(source);
    if (from && appendFile(temp_.fd(), *from)) return true;
    const int error = from ? errno : EILSEQ;
    // Say which side failed: the source that cannot be read, or the copy that cannot be written.
    FileFailure unreadable = readFailure(source);
    unreadable.action = L"read";
    if (unreadable.failed()) {
        failed_ = true;
        failure_ = std::move(unreadable);
        return false;
    }
    fail(error, false);
    return false;
}

bool AtomicFile::copyFrom(int source) {
    if (!failed_ && !appendFrom(temp_.fd(), source)) fail(errno, false);
    return !failed_;
}

AtomicWriteResult AtomicFile::commit() {
    AtomicFile* const self = this;
    return commitTogether({&self, 1}) == 1 ? AtomicWriteResult::Done
                                           : AtomicWriteResult::CannotWrite;
}

// The new content takes the permission bits and owner of the file it replaces and reaches the
// disk before its name does, so that a crash leaves the old file or the whole new one.
bool AtomicFile::complete() {
    struct stat existing {};
    if (!failed_ && ::lstat(target_.c_str(), &existing) == 0 && S_ISREG(existing.st_mode) &&
        !takeOver(temp_.fd(), existing))
        fail(errno, false);
    if (!failed_ && fileCalls().fsync(temp_.fd()) != 0) fail(errno, false);
    return !failed_;
}

bool AtomicFile::keepPrevious() {
    struct stat existing {};
    if (::lstat(target_.c_str(), &existing) != 0) {
        if (errno == ENOENT) return true;
    } else if (previous_.keep(target_)) {
        return true;
    }
    fail(errno, true);
    return false;
}

bool AtomicFile::putInPlace() {
    if (fileCalls().rename(temp_.path().c_str(), target_.c_str()) != 0) {
        fail(errno, true);
        return false;
    }
    temp_.release();
    return true;
}

void AtomicFile::fail(int error, bool inFolder) {
    failed_ = true;
    if (failure_.failed()) return;
    // A step that failed without a reason (a write that took nothing) counts as an I/O error.
    if (error == 0) error = EIO;
    failure_ = inFolder ? folderFailure(L"save", named_, error, folder_)
                        : FileFailure{L"save", named_, error, {}};
}

void AtomicFile::takeBack() {
    failed_ = true;
    if (!previous_.held()) {
        ::unlink(target_.c_str());
        return;
    }
    // Whether or not the rename succeeds, the kept content must not be removed with its name.
    (void)fileCalls().rename(previous_.path().c_str(), target_.c_str());
    previous_.release();
}

std::size_t commitTogether(std::span<AtomicFile* const> files) {
    for (std::size_t i = 0; i < files.size(); ++i)
        if (!files[i]->complete() || (i + 1 < files.size() && !files[i]->keepPrevious())) {
            files[i]->failed_ = true;
            return i;
        }
    for (std::size_t i = 0; i < files.size(); ++i)
        if (!files[i]->putInPlace()) {
            files[i]->failed_ = true;
            for (std::size_t j = i; j-- > 0;)
                files[j]->takeBack();
            return i;
        }
    for (std::size_t i = 0; i < files.size(); ++i) {
        if (i == 0 || files[i]->folder_ != files[i - 1]->folder_)
            (void)syncFolder(files[i]->folder_);
        files[i]->previous_.remove();
        files[i]->failed_ = true; // a file in place takes no more bytes
    }
    return files.size();
}

} // namespace kor::platform
