// Writing a whole file so that the old file stays intact until the new one is complete.
#pragma once

#include <string>
#include <string_view>

namespace kor::platform {

/// How writeFileAtomically ended.
enum class AtomicWriteResult {
    Done,        ///< the file at the path now holds the bytes
    CannotOpen,  ///< nothing could be created beside the target, or the target is a folder or
                 ///< read-only; nothing changed
    CannotWrite, ///< the bytes could not be written or put in place; nothing changed
};

/// Writes `bytes` to a new temporary file in the folder of `path` (the current folder when the
/// path names none), then renames it over `path`. An existing file at `path` is therefore either
/// replaced whole or left exactly as it was; the replacement keeps its permission bits. On
/// failure the temporary file is removed again.
AtomicWriteResult writeFileAtomically(const std::wstring& path, std::string_view bytes);

} // namespace kor::platform
