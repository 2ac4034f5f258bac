#include "platform/Path.h"

#include "platform/CodePage.h"

#include <utility>

namespace kor::platform {

namespace {

std::size_t lastSeparator(std::wstring_view path) {
    for (std::size_t i = path.size(); i > 0; --i) {
        if (isPathSeparator(path[i - 1])) return i - 1;
    }
    return std::wstring_view::npos;
}

} // namespace

bool isPathSeparator(wchar_t c) {
    return c == L'/' || c == L'\\';
}

std::wstring_view folderPart(std::wstring_view path) {
    const std::size_t separator = lastSeparator(path);
    if (separator == std::wstring_view::npos) return {};
    return path.substr(0, separator == 0 ? 1 : separator);
}

std::wstring_view fileNamePart(std::wstring_view path) {
    const std::size_t separator = lastSeparator(path);
    return separator == std::wstring_view::npos ? path : path.substr(separator + 1);
}

std::wstring_view extensionPart(std::wstring_view path) {
    const std::wstring_view name = fileNamePart(path);
    const std::size_t dot = name.rfind(L'.');
    return dot == std::wstring_view::npos ? std::wstring_view{} : name.substr(dot);
}

std::wstring_view withoutExtension(std::wstring_view path) {
    return path.substr(0, path.size() - extensionPart(path).size());
}

std::wstring joinPath(std::wstring_view folder, std::wstring_view name) {
    std::wstring joined(folder);
    if (!joined.empty() && !isPathSeparator(joined.back())) joined += L'/';
    joined += name;
    return joined;
}

std::optional<std::filesystem::path> toPath(std::wstring_view path) {
    std::optional<std::string> bytes = encodeUtf8(path);
    if (!bytes) return std::nullopt;
    return std::filesystem::path(std::move(*bytes));
}

std::optional<std::wstring> fromPath(const std::filesystem::path& path) {
    return decodeUtf8(path.native());
}

} // namespace kor::platform
