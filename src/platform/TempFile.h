// Unique file names in a folder, claimed by creating the file.
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <system_error>

namespace kor::platform {

/// Creates a new empty file named <prefix><sixteen upper-case hex digits>.tmp in folder and
/// stores its full path (folder joined with the name) in path. The digits are 64 random bits, so
/// that nobody who can write the folder can take the names beforehand; the name is claimed by
/// creating the file exclusively, so two callers never get the same one, and a name that is
/// taken is skipped for another random one. Returns an empty error code on success; on failure
/// path is left unchanged and the code says why: no_such_file_or_directory or not_a_directory
/// for a bad folder, permission_denied or read_only_file_system when the folder cannot be
/// written, file_exists when a hundred names in a row were taken, illegal_byte_sequence when the
/// folder or prefix has no UTF-8 form.
[[nodiscard]] std::error_code createTempFile(const std::wstring& folder, std::wstring_view prefix,
                                             std::wstring& path);

/// What claims a candidate name: makes the entry and returns true, or returns false with errno
/// set, EEXIST meaning that the name is taken and the next one should be tried.
using ClaimName = std::function<bool(const std::filesystem::path& candidate)>;

/// The search of createTempFile() with another way of claiming a name (creating a link, say):
/// stores the claimed path in path, or returns why no name could be claimed.
[[nodiscard]] std::error_code claimTempName(const std::filesystem::path& folder,
                                            std::string_view prefix, const ClaimName& claim,
                                            std::filesystem::path& path);

} // namespace kor::platform
