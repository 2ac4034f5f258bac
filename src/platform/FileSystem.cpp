#include "platform/FileSystem.h"

#include "platform/Path.h"

#include <filesystem>
#include <system_error>

#include <sys/stat.h>

namespace kor::platform {

namespace fs = std::filesystem;

namespace {

bool isReadOnly(fs::perms permissions) {
    return (permissions & fs::perms::owner_write) == fs::perms::none;
}

} // namespace

std::optional<FileAttributes> fileAttributes(const std::wstring& path) {
    const std::optional<fs::path> native = toPath(path);
    if (!native) return std::nullopt;
    std::error_code error;
    const fs::file_status status = fs::status(*native, error);
    if (error || !fs::exists(status)) return std::nullopt;
    return FileAttributes{fs::is_directory(status), isReadOnly(status.permissions())};
}

bool setReadOnly(const std::wstring& path, bool readOnly) {
    const std::optional<fs::path> native = toPath(path);
    if (!native) return false;
    std::error_code error;
    fs::permissions(*native, fs::perms::owner_write,
                    readOnly ? fs::perm_options::remove : fs::perm_options::add, error);
    return !error;
}

bool copyFile(const std::wstring& from, const std::wstring& to, bool overwrite) {
    const std::optional<fs::path> source = toPath(from);
    const std::optional<fs::path> target = toPath(to);
    if (!source || !target) return false;
    if (overwrite) {
        const std::optional<FileAttributes> existing = fileAttributes(to);
        if (existing && existing->readOnly) return false;
    }
    std::error_code error;
    const bool copied = fs::copy_file(
        *source, *target, overwrite ? fs::copy_options::overwrite_existing : fs::copy_options::none,
        error);
    return copied && !error;
}

bool deleteFile(const std::wstring& path) {
    const std::optional<fs::path> native = toPath(path);
    if (!native) return false;
    std::error_code error;
    // The entry itself, not what a link points to: deleting a link removes only the link.
    const fs::file_status status = fs::symlink_status(*native, error);
    if (error || fs::is_directory(status)) return false;
    if (isReadOnly(status.permissions())) return false;
    return fs::remove(*native, error) && !error;
}

bool createDirectory(const std::wstring& path) {
    const std::optional<fs::path> native = toPath(path);
    if (!native) return false;
    std::error_code error;
    // create_directory() reports an existing folder as "nothing created" without an error.
    return fs::create_directory(*native, error) && !error;
}

bool removeEmptyFolder(const std::wstring& path) {
    const std::optional<fs::path> native = toPath(path);
    std::error_code error;
    return native && fs::is_directory(fs::symlink_status(*native, error)) &&
           fs::remove(*native, error) && !error;
}

bool removeTree(const std::wstring& path) {
    const std::optional<fs::path> native = toPath(path);
    if (!native) return false;
    std::error_code error;
    fs::remove_all(*native, error);
    return !error;
}

bool matchesWildcard(std::wstring_view name, std::wstring_view pattern) {
    if (pattern == L"*.*") return true;
    // Greedy match that, on a mismatch, lets the most recent '*' swallow one more character.
    std::size_t n = 0;
    std::size_t p = 0;
    std::size_t starPattern = std::wstring_view::npos;
    std::size_t starName = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == L'*') {
            starPattern = p++;
            starName = n;
        } else if (p < pattern.size() && (pattern[p] == L'?' || pattern[p] == name[n])) {
            ++n;
            ++p;
        } else if (starPattern != std::wstring_view::npos) {
            p = starPattern + 1;
            n = ++starName;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == L'*')
        ++p;
    return p == pattern.size();
}

bool anyEntryMatches(const std::wstring& folder, std::wstring_view pattern) {
    const std::optional<fs::path> native = toPath(folder);
    if (!native) return false;
    std::error_code error;
    fs::directory_iterator entry(*native, error);
    for (; !error && entry != fs::directory_iterator(); entry.increment(error)) {
        const std::optional<std::wstring> name = fromPath(entry->path().filename());
        if (name && matchesWildcard(*name, pattern)) return true;
    }
    return false;
}

bool isSameFile(const std::wstring& first, const std::wstring& second) {
    const std::optional<fs::path> a = toPath(first);
    const std::optional<fs::path> b = toPath(second);
    if (!a || !b) return false;
    std::error_code error;
    return fs::equivalent(*a, *b, error) && !error;
}

std::optional<FileStamp> fileStampOf(const std::wstring& path) {
    const std::optional<fs::path> file = toPath(path);
    struct stat status {};
    if (!file || ::stat(file->c_str(), &status) != 0) return std::nullopt;
    return FileStamp{status.st_dev, status.st_ino, status.st_size, status.st_mtim.tv_sec,
                     status.st_mtim.tv_nsec};
}

} // namespace kor::platform
