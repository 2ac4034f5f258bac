#include "platform/Wtoi.h"

#include <cstdint>
#include <limits>

namespace kor {

namespace {

bool isBlank(char32_t c) {
    return c == U' ' || c == U'\t' || c == U'\n' || c == U'\v' || c == U'\f' || c == U'\r';
}

/// Reads the integer from `text` up to `end`, which the caller guarantees is reached only at a
/// character that is no blank, sign or digit (a null character, or the end of a view).
template <class Char> int readInt(const Char* text, const Char* end) {
    while (text != end && isBlank(*text))
        ++text;
    const bool negative = text != end && *text == '-';
    if (text != end && (*text == '-' || *text == '+')) ++text;
    // Accumulate the magnitude up to one past INT_MAX, which is INT_MIN's magnitude; further
    // digits cannot bring it back into range.
    constexpr std::int64_t kLimit = std::int64_t{std::numeric_limits<int>::max()} + 1;
    std::int64_t magnitude = 0;
    for (; text != end && *text >= '0' && *text <= '9'; ++text) {
        if (magnitude < kLimit) magnitude = magnitude * 10 + (*text - '0');
    }
    if (negative)
        return magnitude >= kLimit ? std::numeric_limits<int>::min() : static_cast<int>(-magnitude);
    return magnitude >= kLimit ? std::numeric_limits<int>::max() : static_cast<int>(magnitude);
}

} // namespace

int wtoi(const wchar_t* text) {
    // A null character stops every step, so the text needs no end of its own.
    return text == nullptr ? 0 : readInt<wchar_t>(text, nullptr);
}

int wtoi(std::u16string_view text) {
    return readInt(text.data(), text.data() + text.size());
}

} // namespace kor
