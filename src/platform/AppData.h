// The per-user folder where the library keeps its own data and the files of unsaved songs.
#pragma once

#include <optional>
#include <string>

namespace kor::platform {

/// The user's local application-data folder: $XDG_DATA_HOME when it is set to an absolute path,
/// else $HOME/.local/share when HOME is absolute. The folder is created (owner-only, with any
/// missing parents) when it does not exist yet, because a fresh account may lack it and the
/// library's own folders are created one level at a time below it. nullopt when neither variable
/// is usable, the path is not UTF-8, or the folder cannot be created.
std::optional<std::wstring> localAppDataFolder();

} // namespace kor::platform
