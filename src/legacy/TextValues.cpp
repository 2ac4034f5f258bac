#include "legacy/TextValues.h"

#include "platform/Wtoi.h"

namespace kor {

namespace {

bool isBlank(wchar_t c) {
    return static_cast<std::uint32_t>(c) <= 0x20;
}

} // namespace

std::wstring nextToken(std::wstring_view& text, wchar_t separator, std::size_t capacity) {
    std::size_t begin = 0;
    while (begin < text.size() && isBlank(text[begin]))
        ++begin;
    std::size_t end = text.find(separator, begin);
    std::wstring_view token =
        text.substr(begin, end == std::wstring_view::npos ? text.npos : end - begin);
    text = end == std::wstring_view::npos ? std::wstring_view() : text.substr(end + 1);

    token = token.substr(0, capacity == 0 ? 0 : capacity - 1);
    while (!token.empty() && isBlank(token.back()))
        token.remove_suffix(1);
    return std::wstring(token);
}

std::int32_t readNumber(const std::wstring& value) {
    if (value.empty() || value.front() != L'$') return wtoi(value.c_str());

    std::uint32_t result = 0;
    std::wstring_view digits = std::wstring_view(value).substr(1, 8);
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
