#include "platform/Wtoi.h"

#include <cstdint>
#include <limits>

namespace kor {

namespace {

bool isBlank(wchar_t c) {
    return c == L' ' || c == L'\t' || c == L'\n' || c == L'\v' || c == L'\f' || c == L'\r';
}

} // namespace

int wtoi(const wchar_t* text) {
    if (text == nullptr) return 0;
    while (isBlank(*text))
        ++text;
    const bool negative = *text == L'-';
    if (*text == L'-' || *text == L'+') ++text;
    // Accumulate the magnitude up to one past INT_MAX, which is INT_MIN's magnitude; further
    // digits cannot bring it back into range.
    constexpr std::int64_t kLimit = std::int64_t{std::numeric_limits<int>::max()} + 1;
    std::int64_t magnitude = 0;
    for (; *text >= L'0' && *text <= L'9'; ++text) {
        if (magnitude < kLimit) magnitude = magnitude * 10 + (*text - L'0');
    }
    if (negative)
        return magnitude >= kLimit ? std::numeric_limits<int>::min() : static_cast<int>(-magnitude);
    return magnitude >= kLimit ? std::numeric_limits<int>::max() : static_cast<int>(magnitude);
}

} // namespace kor
