// Reading tokens and numbers out of the values of INI-like text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace kor {

/// Takes the next token off the front of `text` and leaves `text` holding the rest.
///
/// Characters with codes up to 0x20 before the token are skipped; the token ends at `separator`
/// or at the end of the text; at most `capacity - 1` of its characters are kept (none when
/// `capacity` is 0 or 1), and characters with codes up to 0x20 at its end are dropped. The rest
/// starts after the separator, or is empty when there was none. An empty token ends a list.
std::wstring nextToken(std::wstring_view& text, wchar_t separator, std::size_t capacity);

/// Reads a number of a value: after a leading "$" up to 8 hexadecimal digits, where any
/// character that is not a digit counts as 0xFFFF in its place ("$1G" is 0x1000F); otherwise a
/// decimal as kor::wtoi reads it (sign, digits up to the first other character, saturating at the
/// 32-bit range). An empty value reads as 0.
std::int32_t readNumber(const std::wstring& value);

} // namespace kor
