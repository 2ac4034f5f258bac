// A parsed INI-like document: sections of key = value entries read from bytes or from a file.
#pragma once

#include "legacy/SectionMap.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

/// A document of INI-like text. Parsing replaces every earlier section; lookups of missing
/// sections or keys answer with empty results, never with errors.
///
/// Lines are read byte-wise: bytes with codes up to 0x20 before a line are skipped, a line ends
/// at the next line feed or after 65535 bytes (the rest then reads as the next line), and each
/// line is turned into wide text with the document's code page and trimmed. "[name]" opens a
/// section (an existing one is reopened and grows); "key = value" sets an entry of the open
/// section and is dropped when none is open; with comments allowed, ";" lines are skipped and
/// values end at their first ";". Other lines are ignored.
class CxTypedFile {
public:
    /// The longest line in bytes; longer lines continue as the next line.
    static constexpr std::size_t kMaxLineBytes = 65535;

    CxTypedFile() = default;
    CxTypedFile(const CxTypedFile&) = delete;
    CxTypedFile& operator=(const CxTypedFile&) = delete;

    /// Parses `length` bytes at `bytes`. False when `bytes` is null with a non-zero length; the
    /// document is then empty. Throws std::bad_alloc when memory runs out.
    [[nodiscard]] bool parseText(const char* bytes, std::size_t length, bool commentsAllowed);
    [[nodiscard]] bool parseText(std::string_view bytes, bool commentsAllowed) {
        return parseText(bytes.data(), bytes.size(), commentsAllowed);
    }

    /// Reads the whole file at `path` and parses it with comments allowed, remembering the path.
    /// False when the path names no readable plain file or the parse fails; the document is then
    /// empty.
    [[nodiscard]] bool parseFile(const std::wstring& path);

    /// The value of `key` in `section`, or the empty string when either is missing.
    std::wstring value(std::wstring_view section, std::wstring_view key) const;

    /// The section called `name`, or null. Borrowed.
    const CxEntryMap* section(std::wstring_view name) const { return sections_.find(name); }

    /// The keys of `section` in order, empty when the section is missing.
    const std::vector<std::wstring>& keys(std::wstring_view section) const;

    /// The section names in order of first appearance.
    const std::vector<std::wstring>& sectionNames() const { return sections_.names(); }

    const CxSectionMap& sections() const { return sections_; }

    /// The file the document was read from; empty for embedded text.
    const std::wstring& path() const { return path_; }

    /// A number the reader of the document keeps with it (flags of what went wrong).
    int status() const { return status_; }
    void setStatus(int status) { status_ = status; }

    /// The code page that turns the bytes of a line into wide text; 0, the locale's, by default.
    unsigned codePage() const { return codePage_; }
    void setCodePage(unsigned codePage) { codePage_ = codePage; }

    /// How many lines the last parse could not convert from the code page (each byte of such a
    /// line became a character of its own).
    std::size_t unconvertedLines() const { return unconvertedLines_; }

private:
    /// Turns one line into wide text in `out`, reusing its storage. False when the code page
    /// could not convert it and `out` holds its bytes one by one.
    bool decodeLine(std::string_view line, std::wstring& out) const;

    std::wstring path_;
    int status_ = 0;
    CxSectionMap sections_;
    unsigned codePage_ = 0;
    std::size_t unconvertedLines_ = 0;
};
