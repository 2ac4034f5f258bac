// File calls that fail on demand, put in place of the system's for the length of a test.
#pragma once

#include "platform/FileCalls.h"

#include <algorithm>
#include <cerrno>

#include <fcntl.h>
#include <unistd.h>

namespace kor::test {

/// The calls of the file call table, to count only one of them.
enum class FileCall { Any, Open, Read, Write, Fsync, Rename, Link };

/// Which file call fails, and how the others behave.
struct FileFaults {
    int failAt = 0;
    bool shortWrites = false;
    bool noHardLinks = false;
    FileCall counted = FileCall::Any;
    int error = 0;
};

/// While it lives, the platform's file calls go through this: the `failAt`-th call (counting
/// every call of the table from 1, or only the calls of `counted`; 0 fails none) fails with
/// `error`, or by default a write with ENOSPC and the others with EIO. With `shortWrites` every
/// write takes at most 4096 bytes, as a full pipe or a signal may make it; with `noHardLinks`
/// every link is refused as a FAT file system refuses it. fired() tells whether the failure
/// came, and renamesAfterFailure() how many renames succeeded after it, so that a test can tell
/// a failure while files were being put in place from one after they all were.
class FaultyFileCalls {
public:
    explicit FaultyFileCalls(FileFaults options)
        : saved_(platform::fileCalls()) {
        options_ = options;
        calls_ = 0;
        renames_ = 0;
        renamesAtFailure_ = -1;
        platform::fileCalls() = {open, pread, write, fsync, rename, link};
    }
    ~FaultyFileCalls() { platform::fileCalls() = saved_; }
    FaultyFileCalls(const FaultyFileCalls&) = delete;
    FaultyFileCalls& operator=(const FaultyFileCalls&) = delete;

    bool fired() const { return renamesAtFailure_ >= 0; }
    int renamesAfterFailure() const { return fired() ? renames_ - renamesAtFailure_ : 0; }

private:
    static bool fails(FileCall call, int error) {
        if (options_.counted != FileCall::Any && call != options_.counted) return false;
        if (++calls_ != options_.failAt) return false;
        errno = options_.error != 0 ? options_.error : error;
        renamesAtFailure_ = renames_;
        return true;
    }
    static int open(const char* path, int flags, mode_t mode) {
        return fails(FileCall::Open, EIO) ? -1 : ::open(path, flags, mode);
    }
    static ssize_t pread(int fd, void* buffer, std::size_t size, off_t offset) {
        return fails(FileCall::Read, EIO) ? -1 : ::pread(fd, buffer, size, offset);
    }
    static ssize_t write(int fd, const void* bytes, std::size_t size) {
        if (fails(FileCall::Write, ENOSPC)) return -1;
        return ::write(fd, bytes, options_.shortWrites ? std::min<std::size_t>(size, 4096) : size);
    }
    static int fsync(int fd) { return fails(FileCall::Fsync, EIO) ? -1 : ::fsync(fd); }
    static int rename(const char* from, const char* to) {
        if (fails(FileCall::Rename, EIO)) return -1;
        const int result = ::rename(from, to);
        if (result == 0) ++renames_;
        return result;
    }
    static int link(const char* from, const char* to) {
        if (fails(FileCall::Link, EIO)) return -1;
        if (!options_.noHardLinks) return ::link(from, to);
        errno = EPERM;
        return -1;
    }

    static inline FileFaults options_;
    static inline int calls_ = 0;
    static inline int renames_ = 0;
    static inline int renamesAtFailure_ = -1;
    platform::FileCalls saved_;
};

} // namespace kor::test
