#include "legacy/TypedFile.h"

#include "platform/CodePage.h"
#include "platform/XmlChars.h"
#include "platform/Path.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <new>
#include <optional>

namespace {

bool isSpace(wchar_t c) {
    return c == L' ' || (c >= L'\t' && c <= L'\r');
}

std::wstring_view trimLeft(std::wstring_view text) {
    while (!text.empty() && isSpace(text.front()))
        text.remove_prefix(1);
    return text;
}

std::wstring_view trimRight(std::wstring_view text) {
    while (!text.empty() && isSpace(text.back()))
        text.remove_suffix(1);
    return text;
}

std::wstring_view trim(std::wstring_view text) {
    return trimRight(trimLeft(text));
}

} // namespace

// Characters a song file cannot carry (control codes, say) become U+FFFD as the line is read, so
// that the texts taken from it are stored as a saved song gives them back.
bool CxTypedFile::decodeLine(std::string_view line, std::wstring& out) const {
    // Most lines are plain ASCII, which every supported code page maps to itself: widen those
    // directly and keep the converter for lines that need it.
    bool ascii = std::all_of(line.begin(), line.end(),
                             [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    std::optional<std::wstring> wide;
    if (!ascii) wide = kor::platform::multiByteToWide(line, codePage_);
    const bool converted = ascii || wide.has_value();
    if (wide) {
        out = std::move(*wide);
    } else {
        // A line the code page cannot convert keeps each byte as its own character, so that its
        // keys and numbers still read and only the foreign text comes out garbled.
        out.resize(line.size());
        for (std::size_t i = 0; i < line.size(); ++i)
            out[i] = static_cast<wchar_t>(static_cast<unsigned char>(line[i]));
    }
    kor::platform::replaceNonXmlChars(out);
    return converted;
}

bool CxTypedFile::parseText(const char* bytes, std::size_t length, bool commentsAllowed) {
    sections_.clear();
    unconvertedLines_ = 0;
    if (length == 0) return true;
    if (bytes == nullptr) return false;

    CxEntryMap* open = nullptr;
    std::wstring decoded;
    std::size_t pos = 0;
    while (pos < length) {
        while (pos < length && static_cast<unsigned char>(bytes[pos]) <= 0x20)
            ++pos;
        if (pos == length) break;

        std::size_t span = std::min(length - pos, kMaxLineBytes);
        const void* feed = std::memchr(bytes + pos, '\n', span);
        std::size_t lineLength =
            feed ? static_cast<std::size_t>(static_cast<const char*>(feed) - (bytes + pos)) : span;
        std::string_view raw(bytes + pos, lineLength);
        pos += lineLength + (feed ? 1 : 0);

        if (!decodeLine(raw, decoded)) ++unconvertedLines_;
        std::wstring_view line = trim(decoded);
        if (line.empty()) continue;

        if (line.front() == L'[') {
            std::size_t close = line.find(L']', 1);
            if (close != std::wstring_view::npos) {
                open = &sections_.open(line.substr(1, close - 1));
                continue;
            }
        }
        if (commentsAllowed && line.front() == L';') continue;

        std::size_t equals = line.find(L'=', 1);
        if (equals == std::wstring_view::npos || open == nullptr) continue;
        std::wstring_view key = trimRight(line.substr(0, equals));
        std::wstring_view value = trimLeft(line.substr(equals + 1));
        if (commentsAllowed) value = trimRight(value.substr(0, value.find(L';')));
        open->set(key, std::wstring(value));
    }
    return true;
}

bool CxTypedFile::parseFile(const std::wstring& path) {
    sections_.clear();
    path_ = path;

    std::optional<std::filesystem::path> fsPath = kor::platform::toPath(path);
    if (!fsPath) return false;
    std::error_code error;
    if (!std::filesystem::is_regular_file(*fsPath, error)) return false;
    std::uintmax_t size = std::filesystem::file_size(*fsPath, error);
    if (error) return false;
    std::ifstream in(*fsPath, std::ios::binary);
    if (!in) return false;
    std::string bytes;
    bytes.resize(static_cast<std::size_t>(size));
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    // A file that shrank while being read is parsed as far as it went.
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    return parseText(bytes, true);
}

std::wstring CxTypedFile::value(std::wstring_view section, std::wstring_view key) const {
    const CxEntryMap* entries = sections_.find(section);
    return entries ? entries->value(key) : std::wstring();
}

const std::vector<std::wstring>& CxTypedFile::keys(std::wstring_view section) const {
    static const std::vector<std::wstring> none;
    const CxEntryMap* entries = sections_.find(section);
    return entries ? entries->keys() : none;
}
