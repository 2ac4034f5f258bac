#include "platform/FileFailure.h"

#include "platform/Path.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <optional>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kor::platform {

namespace fs = std::filesystem;

std::wstring pathText(const fs::path& path) {
    if (path.empty()) return L".";
    if (const std::optional<std::wstring> text = fromPath(path)) return *text;
    std::wstring text;
    for (const unsigned char byte : path.native()) {
        if (byte < 0x80) {
            text += static_cast<wchar_t>(byte);
            continue;
        }
        wchar_t escape[5];
        std::swprintf(escape, 5, L"\\x%02X", byte);
        text += escape;
    }
    return text;
}

namespace {

// The nearest of `folder` and its parents that exists and is no folder: the file that stands
// where the path needs a folder.
std::optional<fs::path> fileInTheWay(fs::path folder) {
    while (!folder.empty()) {
        std::error_code error;
        const fs::file_status status = fs::status(folder, error);
        if (fs::exists(status) && !fs::is_directory(status)) return folder;
        if (folder == folder.parent_path()) break;
        folder = folder.parent_path();
    }
    return std::nullopt;
}

// What in the folder part of a path a failure with `error` points at, when the system's reason
// does not say it. `writing` tells a step that makes or renames a file in the folder.
std::wstring folderHint(int error, const fs::path& folder, bool writing) {
    std::error_code ignored;
    switch (error) {
    case ENOENT:
        if (!folder.empty() && !fs::exists(folder, ignored))
            return L"the folder " + pathText(folder) + L" does not exist";
        break;
    case ENOTDIR:
        if (const std::optional<fs::path> file = fileInTheWay(folder))
            return pathText(*file) + L" is a file, not a folder";
        break;
    case EACCES:
    case EPERM:
        if (writing) return L"the folder " + pathText(folder) + L" is not writable";
        break;
    default:
        break;
    }
    return {};
}

// The system's reason for `error` in English, as the messages of the library are.
std::wstring reasonOf(int error) {
    const char* text = ::strerrordesc_np(error);
    if (text == nullptr) return L"system error " + std::to_wstring(error);
    return std::wstring(text, text + std::strlen(text));
}

} // namespace

FileFailure folderFailure(const wchar_t* action, const std::wstring& path, int error,
                          const fs::path& folder) {
    return {action, path, error, folderHint(error, folder, true)};
}

FileFailure readFailure(const std::wstring& path) {
    FileFailure failure{L"open", path, 0, {}};
    if (path.empty()) {
        failure.hint = L"no path was given";
        return failure;
    }
    const std::optional<fs::path> native = toPath(path);
    if (!native) {
        failure.error = EILSEQ;
        return failure;
    }
    const int fd = ::open(native->c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        failure.error = errno;
        failure.hint = folderHint(failure.error, native->parent_path(), false);
        return failure;
    }
    struct stat status {};
    if (::fstat(fd, &status) != 0)
        failure.error = errno;
    else if (S_ISDIR(status.st_mode))
        failure.error = EISDIR;
    else if (!S_ISREG(status.st_mode))
        failure.hint = L"it is no plain file";
    ::close(fd);
    return failure;
}

std::wstring describe(const FileFailure& failure) {
    const std::wstring action = failure.action;
    if (failure.path.empty()) return L"Cannot " + action + L" a file: no path was given.";
    std::wstring text = L"Cannot " + action + L' ' + failure.path + L':';
    if (failure.error != 0) text += L' ' + reasonOf(failure.error);
    if (!failure.hint.empty())
        text += failure.error != 0 ? L" (" + failure.hint + L')' : L' ' + failure.hint;
    return text + L'.';
}

} // namespace kor::platform
