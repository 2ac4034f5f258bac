#include "Text.h"

#include <climits>
#include <clocale>
#include <cwchar>

namespace kortool {

void useUtf8() {
    if (std::setlocale(LC_CTYPE, "C.UTF-8") == nullptr) std::setlocale(LC_CTYPE, "");
}

std::wstring widen(std::string_view text) {
    std::wstring wide;
    std::mbstate_t state{};
    while (!text.empty()) {
        wchar_t ch = 0;
        const std::size_t used = std::mbrtowc(&ch, text.data(), text.size(), &state);
        if (used == 0 || used > text.size()) { // a NUL byte, or a broken or cut sequence
            wide.push_back(used == 0 ? L'\0' : L'\uFFFD');
            state = {};
            text.remove_prefix(1);
            continue;
        }
        wide.push_back(ch);
        text.remove_prefix(used);
    }
    return wide;
}

std::string narrow(std::wstring_view text) {
    std::string out;
    std::mbstate_t state{};
    char bytes[MB_LEN_MAX];
    for (const wchar_t ch : text) {
        const std::size_t length = std::wcrtomb(bytes, ch, &state);
        if (length == static_cast<std::size_t>(-1)) {
            out.push_back('?');
            state = {};
        } else {
            out.append(bytes, length);
        }
    }
    return out;
}

} // namespace kortool
