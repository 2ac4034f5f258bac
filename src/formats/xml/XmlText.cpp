#include "formats/xml/XmlText.h"

namespace kor {

namespace {

constexpr wchar_t kReplacement = 0xFFFD;

bool isSpace(wchar_t c) {
    return c == L' ' || c == L'\t' || c == L'\n' || c == L'\r' || c == L'\v' || c == L'\f';
}

void replaceAll(std::wstring& text, std::wstring_view from, std::wstring_view to) {
    for (std::size_t pos = text.find(from); pos != std::wstring::npos;
         pos = text.find(from, pos + to.size()))
        text.replace(pos, from.size(), to);
}

} // namespace

std::wstring fromUtf16(const char16_t* text, std::size_t length) {
    std::wstring out;
    assignUtf16(out, text, length);
    return out;
}

void assignUtf16(std::wstring& out, const char16_t* text, std::size_t length) {
    out.clear();
    out.reserve(length);
    for (std::size_t i = 0; i < length; ++i) {
        const char32_t unit = text[i];
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < length && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            out.push_back(
                static_cast<wchar_t>(0x10000 + ((unit - 0xD800) << 10) + (text[i + 1] - 0xDC00)));
            ++i;
        } else if (unit >= 0xD800 && unit <= 0xDFFF) {
            out.push_back(kReplacement);
        } else {
            out.push_back(static_cast<wchar_t>(unit));
        }
    }
}

std::wstring fromUtf16(const char16_t* text) {
    if (text == nullptr) return {};
    std::size_t length = 0;
    while (text[length] != 0)
        ++length;
    return fromUtf16(text, length);
}

std::u16string toUtf16(std::wstring_view text) {
    std::u16string out;
    out.reserve(text.size());
    for (wchar_t c : text) {
        const auto code = static_cast<char32_t>(c);
        if (code >= 0x10000 && code <= 0x10FFFF) {
            out.push_back(static_cast<char16_t>(0xD800 + ((code - 0x10000) >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + ((code - 0x10000) & 0x3FF)));
        } else if ((code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF) {
            out.push_back(static_cast<char16_t>(kReplacement));
        } else {
            out.push_back(static_cast<char16_t>(code));
        }
    }
    return out;
}

void cleanCharacterData(std::wstring& text) {
    std::size_t end = text.size();
    while (end > 0 && isSpace(text[end - 1]))
        --end;
    text.erase(end);
    std::size_t begin = 0;
    while (begin < end && isSpace(text[begin]))
        ++begin;
    text.erase(0, begin);
    if (text.find(L']') != std::wstring::npos) replaceAll(text, L"]]&gt;", L"]]>");
}

std::wstring escapeFolderForUri(std::wstring_view folder) {
    std::wstring out(folder);
    replaceAll(out, L"%", L"%25");
    replaceAll(out, L" ", L"%20");
    return out;
}

} // namespace kor
