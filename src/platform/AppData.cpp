#include "platform/AppData.h"

#include "platform/Path.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace kor::platform {

namespace fs = std::filesystem;

namespace {

// An unset, empty or relative value is unusable: a relative data folder would move with the
// working directory.
std::optional<fs::path> absoluteVariable(const char* name) {
    const char* value = std::getenv(name);
    if (value == nullptr || value[0] != '/') return std::nullopt;
    return fs::path(value);
}

} // namespace

std::optional<std::wstring> localAppDataFolder() {
    std::optional<fs::path> folder = absoluteVariable("XDG_DATA_HOME");
    if (!folder) {
        const std::optional<fs::path> home = absoluteVariable("HOME");
        if (!home) return std::nullopt;
        folder = *home / ".local" / "share";
    }
    std::optional<std::wstring> wide = fromPath(*folder);
    if (!wide) return std::nullopt;
    std::error_code error;
    if (!fs::is_directory(*folder, error)) {
        fs::create_directories(*folder, error);
        if (error) return std::nullopt;
        fs::permissions(*folder, fs::perms::owner_all, error);
        if (error) return std::nullopt;
    }
    return wide;
}

} // namespace kor::platform
