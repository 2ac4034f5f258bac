// Why a file could not be read or written, told so that the user knows which file or folder to
// fix.
#pragma once

#include <filesystem>
#include <string>

namespace kor::platform {

/// One file step that failed: what it tried ("save", "open", "read"), the file it concerned as
/// the caller named it, the system's error number, and, where that number alone does not say which
/// part of the path is at fault, a hint naming it ("the folder /x/y does not exist"). A default
/// value means that nothing failed.
struct FileFailure {
    const wchar_t* action = L"";
    std::wstring path;
    int error = 0;
    std::wstring hint;

    bool failed() const { return error != 0 || !hint.empty(); }
};

/// The failure of `action` on `path` when making, linking or renaming a file in `folder` (the
/// folder of `path`, or of the file a link at `path` leads to) fails with `error`: the hint names
/// the folder when it is missing or not writable, and the file that stands where a folder of its
/// path belongs.
FileFailure folderFailure(const wchar_t* action, const std::wstring& path, int error,
                          const std::filesystem::path& folder);

/// Why the file at `path` cannot be opened for reading ("open"): the system's reason when opening
/// fails, with the hints of folderFailure(); a folder or anything else that is no plain file is
/// refused as well. Nothing failed when it can be read.
FileFailure readFailure(const std::wstring& path);

/// A path as a message shows it: its wide text, each byte that is no UTF-8 as \xNN; "." for an
/// empty one (a bare file name lives in the working folder).
std::wstring pathText(const std::filesystem::path& path);

/// "Cannot <action> <path>: <the system's reason> (<hint>)." in English, whatever the locale;
/// "Cannot <action> a file: no path was given." for an empty path.
std::wstring describe(const FileFailure& failure);

} // namespace kor::platform
