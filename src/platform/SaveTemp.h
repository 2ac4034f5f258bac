// The temporary files of a save: recognisably named, locked while in use, and cleaned up after a
// save that was killed.
#pragma once

#include <filesystem>

namespace kor::platform {

/// One temporary file that a save keeps beside a target, named ".korsave<sixteen random hex
/// digits>.tmp" in the target's folder (see claimTempName). While the object holds the file it also
/// holds an exclusive flock on it; a save that is killed loses its locks with its process, so
/// removeStale() tells its leftovers from the files of saves still running, in this process or
/// another, without guessing from their age. Destroying the object removes the file unless
/// release() handed its name on. Not copyable; each function reports failure by its result.
class SaveTemp {
public:
    SaveTemp() = default;
    ~SaveTemp();
    SaveTemp(const SaveTemp&) = delete;
    SaveTemp& operator=(const SaveTemp&) = delete;

    /// A new empty file in `folder`, open for writing through fd(). False, with errno saying why,
    /// when none can be made.
    [[nodiscard]] bool create(const std::filesystem::path& folder);
    /// A second name, in the same folder, of the existing file `original` (a hard link), so that
    /// its content outlives a rename over `original`; a copy where the file system has no hard
    /// links or another program holds the file locked. A symbolic link at `original` is kept as
    /// a link of the same content, never followed. False when none can be made.
    [[nodiscard]] bool keep(const std::filesystem::path& original);
    /// Moves the existing file `original` out of the way: keep(), then removes its own name.
    /// False, with nothing changed, when it cannot be kept or removed.
    [[nodiscard]] bool displace(const std::filesystem::path& original);
    /// Renames the file back to `original`, where displace() took it from. The file is
    /// forgotten either way, never removed: it may be the only copy. False when the rename fails.
    bool putBack(const std::filesystem::path& original);
    /// Removes the file, if one is held.
    void remove();
    /// Forgets the file without removing it: its name was renamed elsewhere.
    void release();

    bool held() const { return fd_ >= 0; }
    int fd() const { return fd_; }
    const std::filesystem::path& path() const { return path_; }

    /// Removes every file of ours in `folder` that no save holds: regular files with our name
    /// pattern, owned by the saving user (the effective user) and with no lock on them. Anything
    /// else, including another user's leftovers and another program's temporary files, is left
    /// alone: a file a save of ours never made is not ours to remove. Errors are ignored: a file
    /// that cannot be removed stays for a later save.
    static void removeStale(const std::filesystem::path& folder);

private:
    bool keepLink(const std::filesystem::path& original);

    std::filesystem::path path_;
    int fd_ = -1;
};

} // namespace kor::platform
