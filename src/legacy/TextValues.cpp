#include "legacy/TextValues.h"

#include <limits>

namespace kor {

namespace {

bool isBlank(wchar_t c) { return static_cast<std::uint32_t>(c) <= 0x20; }

bool isSpace(wchar_t c) { return c == L' ' || (c >= L'\t' && c <= L'\r'); }

} // namespace

std::wstring nextToken(std::wstring_view& text, wchar_t separator, std::size_t capacity) {
    std::size_t begin = 0;
    while (begin < text.size() && isBlank(text[begin]))
        ++begin;
    std::size_t end = text.find(separator, begin);
    std::wstring_view token = text.substr(begin, end == std::wstring_view::npos ? text.npos
                                                                                 : end - begin);
    text = end == std::wstring_view::npos ? std::wstring_view() : text.substr(end + 1);

    token = token.substr(0, capacity == 0 ? 0 : capacity - 1);
    while (!token.empty() && isBlank(token.back()))
        token.remove_suffix(1);
    return std::wstring(token);
}

std::int32_t readDecimal(std::wstring_view text) {
    std::size_t i = 0;
    while (i < text.size() && isSpace(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == L'+' || text[i] == L'-'))
        negative = text[i++] == L'-';

    // Accumulate the magnitude in 64 bits and stop growing it once it is past the 32-bit range,
    // so that long digit strings saturate instead of wrapping.
    constexpr std::int64_t limit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
    std::int64_t magnitude = 0;
    for (; i < text.size() && text[i] >= L'0' && text[i] <= L'9'; ++i)
        if (magnitude <= limit)
            magnitude = magnitude * 10 + (text[i] - L'0');

    if (negative)
        return magnitude >= limit ? std::numeric_limits<std::int32_t>::min()
                                  : static_cast<std::int32_t>(-magnitude);
    return magnitude >= limit ? std::numeric_limits<std::int32_t>::max()
                              : static_cast<std::int32_t>(magnitude);
}

std::int32_t readNumber(std::wstring_view value) {
    if (value.empty() || value.front() != L'$')
        return readDecimal(value);

    std::uint32_t result = 0;
    std::wstring_view digits = value.substr(1, 8);
    for (wchar_t c : digits) {
        std::uint32_t digit = 0xFFFF;
        if (c >= L'0' && c <= L'9')
            digit = static_cast<std::uint32_t>(c - L'0');
        else if (c >= L'A' && c <= L'F')
            digit = static_cast<std::uint32_t>(c - L'A' + 10);
        else if (c >= L'a' && c <= L'f')
            digit = static_cast<std::uint32_t>(c - L'a' + 10);
        result = (result << 4) + digit;
    }
    return static_cast<std::int32_t>(result);
}

} // namespace kor
