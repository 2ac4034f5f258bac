// Text as the XML reader hands it over (UTF-16) and as the library keeps it (wide strings).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace kor {

/// Replaces `out` with `length` UTF-16 units as wide text (keeping its storage, so a buffer
/// used over and over stops allocating); a surrogate pair becomes one character, a lone
/// surrogate becomes U+FFFD.
void assignUtf16(std::wstring& out, const char16_t* text, std::size_t length);
/// The same as a new string.
std::wstring fromUtf16(const char16_t* text, std::size_t length);
/// A null-terminated UTF-16 text as a wide string; null gives "".
std::wstring fromUtf16(const char16_t* text);

/// `text` as UTF-16; a character beyond U+FFFF becomes a surrogate pair, one that is no
/// character (a surrogate or above U+10FFFF) becomes U+FFFD.
std::u16string toUtf16(std::wstring_view text);

/// Makes character data the text of a value element, in place: leading and trailing white space
/// removed, and every "]]&gt;" turned back into "]]>" (a "]]>" cannot stand inside the CDATA
/// section that holds a text value, so it is stored escaped).
void cleanCharacterData(std::wstring& text);

/// A folder path made fit for a URI: every '%' becomes "%25", then every ' ' becomes "%20".
std::wstring escapeFolderForUri(std::wstring_view folder);

} // namespace kor
