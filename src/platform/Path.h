// Wide path text: splitting it into folder, file name and extension, and turning it into the
// bytes the file system takes.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace kor::platform {

/// Both '/' and '\' end a folder name: paths stored in songs written on other systems use '\'.
bool isPathSeparator(wchar_t c);

/// The folder that holds the last path element, without the separator after it: "a/b/c.korx"
/// gives "a/b". A path with no separator gives the empty string; one whose only separator is the
/// leading one gives that separator ("/c.korx" gives "/").
std::wstring_view folderPart(std::wstring_view path);

/// The last path element: "a/b/c.korx" gives "c.korx"; a path ending in a separator gives "".
std::wstring_view fileNamePart(std::wstring_view path);

/// The extension of the last path element from its last '.', dot included: "a/b.c/d.korx" gives
/// ".korx", "a/b.c/d" gives "".
std::wstring_view extensionPart(std::wstring_view path);

/// The path with the extension of its last element removed: "a/song.korx" gives "a/song".
std::wstring_view withoutExtension(std::wstring_view path);

/// folder + '/' + name, without doubling a separator the folder already ends with; an empty folder
/// gives the name alone.
std::wstring joinPath(std::wstring_view folder, std::wstring_view name);

/// The file system's form of a wide path: its UTF-8 bytes, taken as they are ('\' is an ordinary
/// character in a Linux file name). nullopt when the text holds a surrogate or a value beyond
/// Unicode, which has no UTF-8 form, so such a name never reaches the file system altered.
std::optional<std::filesystem::path> toPath(std::wstring_view path);

/// The wide form of a file system path; nullopt when its bytes are not UTF-8.
std::optional<std::wstring> fromPath(const std::filesystem::path& path);

} // namespace kor::platform
