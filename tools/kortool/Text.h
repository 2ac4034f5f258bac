// Text conversions between the library's wide strings and the terminal's UTF-8.
#pragma once

#include <string>
#include <string_view>

namespace kortool {

/// Makes the C library convert between wide characters and UTF-8; call once at start.
void useUtf8();
/// `text` (UTF-8) as wide characters; bytes that are not UTF-8 become U+FFFD.
std::wstring widen(std::string_view text);
/// `text` as UTF-8; characters that cannot be encoded become "?".
std::string narrow(std::wstring_view text);

} // namespace kortool
