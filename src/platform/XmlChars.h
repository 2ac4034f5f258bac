// The characters a song file can carry, and text brought into the form a song file gives back.
#pragma once

#include <string>

namespace kor::platform {

/// What stands in for a character a song file cannot carry.
inline constexpr wchar_t kReplacementChar = static_cast<wchar_t>(0xFFFD);

/// True for a character an XML 1.0 document can carry: tab, LF, CR, U+0020 to U+D7FF, U+E000 to
/// U+FFFD and U+10000 to U+10FFFF. The other C0 controls, U+FFFE, U+FFFF, surrogates and values
/// beyond Unicode are not characters of the format.
constexpr bool isXmlChar(char32_t c) {
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) ||
           (c >= 0xE000 && c <= 0xFFFD) || (c >= 0x10000 && c <= 0x10FFFF);
}

/// Replaces, in place, every character an XML 1.0 document cannot carry with U+FFFD, so that
/// such text keeps its length and shows where something was lost.
void replaceNonXmlChars(std::wstring& text);

/// Makes `text` what a song file gives back for it: characters the format cannot carry become
/// U+FFFD, CR LF and a lone CR become LF (XML reads line ends so), and leading and trailing
/// blanks, tabs and line ends are removed (a text value is read trimmed). Idempotent.
void makeStoredText(std::wstring& text);

/// The same on a copy.
std::wstring storedText(std::wstring text);

} // namespace kor::platform
