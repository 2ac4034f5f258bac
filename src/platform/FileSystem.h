// File and folder operations on wide paths: copy, delete, create, attributes, find, remove a tree.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kor::platform {

/// What the library needs to know of an existing file system entry. A file is read-only when its
/// owner may not write it; such a file is neither overwritten nor deleted by the functions here
/// until the flag is cleared, even for a user the system would let through.
struct FileAttributes {
    bool directory = false;
    bool readOnly = false;
};

// Every function below reports failure by its result and throws nothing. Paths are wide text; a
// path without a UTF-8 form fails like a missing file.

/// The attributes of the entry at path (a symbolic link is followed); nullopt when there is none.
std::optional<FileAttributes> fileAttributes(const std::wstring& path);

/// Sets or clears the read-only flag of an existing file or folder; false on failure.
[[nodiscard]] bool setReadOnly(const std::wstring& path, bool readOnly);

/// Copies a plain file with its permission bits. With overwrite false an existing target fails;
/// with overwrite true it is replaced unless it is read-only. False on failure.
[[nodiscard]] bool copyFile(const std::wstring& from, const std::wstring& to, bool overwrite);

/// Deletes a file that is not a folder and not read-only; false on failure or when nothing is
/// there.
[[nodiscard]] bool deleteFile(const std::wstring& path);

/// Creates one folder; false when anything of that name exists already or its parent is missing.
[[nodiscard]] bool createDirectory(const std::wstring& path);

/// Removes an empty folder; false when it is not there, not a folder or not empty.
[[nodiscard]] bool removeEmptyFolder(const std::wstring& path);

/// Removes whatever stands at path, a folder with everything below it included. Nothing there is
/// success; false when something could not be removed.
[[nodiscard]] bool removeTree(const std::wstring& path);

/// True when an entry of the folder has a name matching pattern, where '*' matches any run of
/// characters and '?' any one character; "*.*" matches every name, with or without a dot, as
/// it does on the system the songs come from. Matching is case-sensitive like the file system;
/// "." and ".." are not entries. A missing or unreadable folder has no entries.
bool anyEntryMatches(const std::wstring& folder, std::wstring_view pattern);

/// Whether name matches a wildcard pattern as anyEntryMatches() matches entry names.
bool matchesWildcard(std::wstring_view name, std::wstring_view pattern);

/// True when both paths name one existing entry, whatever names reach it.
bool isSameFile(const std::wstring& first, const std::wstring& second);

/// Where and as what a file stands: two equal stamps taken at different times tell that the file
/// has not changed in between (the same entry, size and modification time), so that what was
/// read from it then still stands for it.
struct FileStamp {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::int64_t size = 0;
    std::int64_t modifiedSeconds = 0;
    std::int64_t modifiedNanoseconds = 0;
    bool operator==(const FileStamp&) const = default;
};

/// The stamp of the file at path (a symbolic link is followed); nullopt when there is none.
std::optional<FileStamp> fileStampOf(const std::wstring& path);

} // namespace kor::platform
