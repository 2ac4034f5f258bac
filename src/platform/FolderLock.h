// An exclusive lock on a folder, held while a save changes the files in it.
#pragma once

#include <chrono>
#include <filesystem>

namespace kor::platform {

/// An exclusive flock on a folder itself, opened read-only, so that the saves of this library
/// into one folder, in this process or another, take turns. Locking the folder's own entry
/// rather than a lock file beside it leaves nothing behind in the folder, needs no right to
/// write there and gives nobody a file to plant or remove in its place. The lock goes with the
/// object or, should the process be killed, with the process. A folder that cannot be opened
/// for reading, or a file system without locks, leaves the save unlocked, as it would run
/// without this library's other saves anyway. Not copyable.
class FolderLock {
public:
    /// How long lock() waits for another save, which may be copying large files, to let go.
    static constexpr std::chrono::seconds kPatience{30};

    FolderLock() = default;
    ~FolderLock();
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

    /// Locks `folder` (the working folder when empty), waiting while another holder keeps it
    /// locked. False, with errno EWOULDBLOCK, when it stayed locked for kPatience: anyone who
    /// can read the folder can lock it, and a save must not hang for good on another user's
    /// lock.
    [[nodiscard]] bool lock(const std::filesystem::path& folder);

private:
    int fd_ = -1;
};

} // namespace kor::platform
