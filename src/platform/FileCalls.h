// The system calls through which files are saved, in one table a test can replace to make a
// chosen call fail.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string_view>

#include <sys/types.h>

namespace kor::platform {

/// The file system calls of saving. Each entry behaves as the system call of its name: -1 with
/// errno set on failure. The library only calls through the table; a test may swap entries to
/// inject failures (full disk, I/O errors, short writes) while no save runs, and puts the
/// previous table back afterwards.
struct FileCalls {
    int (*open)(const char* path, int flags, mode_t mode);
    ssize_t (*pread)(int fd, void* buffer, std::size_t size, off_t offset);
    ssize_t (*write)(int fd, const void* bytes, std::size_t size);
    int (*fsync)(int fd);
    int (*rename)(const char* from, const char* to);
    int (*link)(const char* from, const char* to);
};

/// The table in use: the system's own calls unless a test put others in.
FileCalls& fileCalls();

/// Writes all of `bytes` to `fd`, going on after short writes and interruptions; false on the
/// first real failure.
[[nodiscard]] bool writeAll(int fd, std::string_view bytes);

/// Appends the whole content of the regular file at `source` to `fd`; false when it is no
/// regular file or cannot be read or written.
[[nodiscard]] bool appendFile(int fd, const std::filesystem::path& source);

/// Appends the whole content of the regular file open as `source` to `fd`, read from its start
/// whatever its offset (which stays as it was); false, as appendFile(), when it is no regular file
/// or cannot be read or written.
[[nodiscard]] bool appendFrom(int fd, int source);

/// Flushes the entries of a folder (names created, renamed or removed in it) to the disk. A
/// folder that cannot be opened or synced is left to the system's own write-back: false then.
bool syncFolder(const std::filesystem::path& folder);

} // namespace kor::platform
