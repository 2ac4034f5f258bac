#include "platform/AtomicFile.h"

#include "platform/FileCalls.h"
#include "platform/FileSystem.h"
#include "platform/Path.h"

#include <cerrno>
#include <optional>
#include <system_error>

#include <sys/stat.h>
#include <unistd.h>

namespace kor::platform {

namespace fs = std::filesystem;

namespace {

// The file a path finally names: symbolic links are followed, a relative one from its own
// folder, until something that is no link, or nothing, stands there. nullopt for a loop.
std::optional<fs::path> followLinks(fs::path path) {
    for (int hops = 0; hops < 40; ++hops) {
        std::error_code error;
        if (!fs::is_symlink(fs::symlink_status(path, error))) return path;
        const fs::path next = fs::read_symlink(path, error);
        if (error) return std::nullopt;
        path = next.is_absolute() ? next : path.parent_path() / next;
    }
    return std::nullopt;
}

} // namespace

AtomicWriteResult AtomicFile::open(const std::wstring& path) {
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
    if (const auto attributes = fileAttributes(path)) {
        if (attributes->directory) return refuse(EISDIR);
        if (attributes->readOnly) return refuse(EACCES, L"the file is read-only");
    }
    const std::optional<fs::path> target = followLinks(*named);
    if (!target) return refuse(ELOOP);
    target_ = *target;
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

AtomicWriteResult AtomicFile::commit() {
    AtomicFile* const self = this;
    return commitTogether({&self, 1}) == 1 ? AtomicWriteResult::Done
                                           : AtomicWriteResult::CannotWrite;
}

// The new content takes the permission bits of the file it replaces and reaches the disk
// before its name does, so that a crash leaves the old file or the whole new one.
bool AtomicFile::complete() {
    struct stat existing {};
    if (!failed_ && ::stat(target_.c_str(), &existing) == 0 &&
        ::fchmod(temp_.fd(), existing.st_mode & 07777) != 0)
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
