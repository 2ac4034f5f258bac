// Multi-byte text to and from wide text: in a numbered code page, as legacy song files and MIDI
// files carry it, and in UTF-8, the form of file names and saved songs.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kor::platform {

/// Code pages are numbered as the song files' home system numbers them: 932 Japanese (Shift-JIS),
/// 936 Simplified Chinese (GBK), 949 Korean, 950 Traditional Chinese (Big5), 1250 to 1258 the
/// European and Middle-Eastern single-byte sets, 65001 UTF-8. kCodePageAnsi (0) and
/// kCodePageThreadAnsi (3) both mean the character set of the calling thread's locale; where that
/// is the plain C locale (ASCII), text is taken as UTF-8, which agrees with ASCII and is what
/// Linux text holds. The library never changes the locale; a host that wants the user's set
/// calls setlocale() itself.
inline constexpr unsigned kCodePageAnsi = 0;
inline constexpr unsigned kCodePageThreadAnsi = 3;
inline constexpr unsigned kCodePageUtf8 = 65001;

/// Converts bytes in codePage to wide text. nullopt when the code page is unknown or the bytes are
/// not valid text in it (including a character cut off at the end). Empty input gives empty text.
std::optional<std::wstring> multiByteToWide(std::string_view bytes, unsigned codePage);

/// Converts wide text to bytes in codePage. nullopt when the code page is unknown or a character
/// has no form in it.
std::optional<std::string> wideToMultiByte(std::wstring_view text, unsigned codePage);

/// Encodes wide text (one code point per wchar_t) as UTF-8. Strict: a surrogate code point or a
/// value above U+10FFFF has no UTF-8 form, and the result is empty (nullopt) rather than
/// silently altered text, so a save never writes something other than what the song holds.
std::optional<std::string> encodeUtf8(std::wstring_view text);

/// Decodes UTF-8 bytes into wide text. Strict: stray or missing continuation bytes, overlong
/// forms, surrogates and values above U+10FFFF make the result nullopt.
std::optional<std::wstring> decodeUtf8(std::string_view bytes);

} // namespace kor::platform
