// A file written in full beside its target and put in its place only when complete.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace kor::platform {

/// How an atomic file operation ended.
enum class AtomicWriteResult {
    Done,        ///< the step succeeded
    CannotOpen,  ///< nothing could be created beside the target, or the target is a folder or
                 ///< read-only; nothing changed
    CannotWrite, ///< the bytes could not be written or put in place; nothing changed
};

/// The new content of the file at a path: written to a temporary file in the same folder (the
/// current folder when the path names none) and renamed over the path by commit(). An existing
/// file there is therefore either replaced whole or left exactly as it was; the replacement
/// keeps its permission bits. Destroying a file that was not committed removes the temporary
/// file.
class AtomicFile {
public:
    AtomicFile() = default;
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    /// Creates the temporary file for `path`: Done or CannotOpen.
    [[nodiscard]] AtomicWriteResult open(const std::wstring& path);
    /// Appends `bytes` to the temporary file; false when they could not be written, after which
    /// commit fails too.
    bool write(std::string_view bytes);
    /// Closes the temporary file and renames it over the target: Done, or CannotWrite when
    /// open or a write failed, or the file cannot be completed or put in place.
    [[nodiscard]] AtomicWriteResult commit();

private:
    void discard();

    std::filesystem::path target_;
    std::filesystem::path temp_;
    int fd_ = -1;
    bool failed_ = false;
};

} // namespace kor::platform
