#include "platform/XmlChars.h"

#include <algorithm>

namespace kor::platform {

namespace {

bool isTrimmed(wchar_t c) {
    return c == L' ' || c == L'\t' || c == L'\n' || c == L'\r';
}

} // namespace

void replaceNonXmlChars(std::wstring& text) {
    for (wchar_t& c : text)
        if (!isXmlChar(static_cast<char32_t>(c))) c = kReplacementChar;
}

void makeStoredText(std::wstring& text) {
    replaceNonXmlChars(text);
    if (text.find(L'\r') != std::wstring::npos) {
        std::size_t out = 0;
        for (std::size_t in = 0; in < text.size(); ++in) {
            if (text[in] == L'\r') {
                text[out++] = L'\n';
                if (in + 1 < text.size() && text[in + 1] == L'\n') ++in;
            } else {
                text[out++] = text[in];
            }
        }
        text.resize(out);
    }
    const auto last = std::find_if_not(text.rbegin(), text.rend(), isTrimmed).base();
    text.erase(last, text.end());
    text.erase(text.begin(), std::find_if_not(text.begin(), text.end(), isTrimmed));
}

std::wstring storedText(std::wstring text) {
    makeStoredText(text);
    return text;
}

} // namespace kor::platform
