// Reading a decimal integer from the start of wide text, the way song files' numbers are read.
#pragma once

#include <string_view>

namespace kor {

/// The decimal integer at the start of text: leading white space (space, tab, line feed, vertical
/// tab, form feed, carriage return) is skipped, then an optional '+' or '-' and the ASCII digits
/// that follow are read; reading stops at the first other character. Text without digits and a
/// null pointer give 0. A value beyond the int range gives INT_MAX or INT_MIN, as the C runtime's
/// conversion does, so an absurd number in a file reads as the nearest extreme, not as a wrapped
/// value of the opposite sign.
int wtoi(const wchar_t* text);
/// The same for UTF-16 text, which ends with the view.
int wtoi(std::u16string_view text);

} // namespace kor
