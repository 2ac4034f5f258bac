#include "legacy/IconVibrato.h"

#include "legacy/TextValues.h"
#include "legacy/TypedFile.h"

#include "platform/FileSystem.h"
#include "platform/Wtoi.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace {

// Break point tokens are short numbers; longer tokens are cut to this many characters.
constexpr std::size_t kTokenCapacity = 16;

// A decimal fraction the way the C runtime's `_wtof` reads one: an optional sign, digits, a
// point and an exponent, stopping at the first other character; nothing readable gives 0, and a
// magnitude beyond the float range gives infinity.
float readFraction(std::wstring_view token) {
    std::string narrow;
    for (wchar_t c : token) {
        if (c < 0x21 || c > 0x7E) break;
        narrow.push_back(static_cast<char>(c));
    }
    const char* first = narrow.data();
    const char* last = first + narrow.size();
    if (first != last && *first == '+' && last - first > 1 && first[1] != '-') ++first;
    double value = 0.0;
    if (std::from_chars(first, last, value, std::chars_format::general).ec ==
        std::errc::result_out_of_range)
        return std::numeric_limits<float>::quiet_NaN(); // beyond any position: ends the curve
    // Saturate to infinity rather than converting an out-of-range double to float.
    if (std::fabs(value) > std::numeric_limits<float>::max())
        return value > 0 ? std::numeric_limits<float>::infinity()
                         : -std::numeric_limits<float>::infinity();
    return static_cast<float>(value);
}

std::int32_t clampLevel(std::int32_t value) {
    return std::clamp(value, 0, 127);
}

} // namespace

void CIconVibrato::readFrom(const CxTypedFile& file) {
    CIconExpression::readFrom(file);

    auto parameter = [&file](std::wstring_view key) { return file.value(L"Parameter", key); };

    shape_.startDepth = clampLevel(kor::wtoi(parameter(L"StartDepth").c_str()));
    shape_.depthCurve.clear();
    if (std::int32_t count = kor::wtoi(parameter(L"DepthBPNum").c_str()); count != 0)
        kor::readBreakPoints(count, parameter(L"DepthBPX"), parameter(L"DepthBPY"),
                             shape_.depthCurve);

    shape_.startRate = clampLevel(kor::wtoi(parameter(L"StartRate").c_str()));
    shape_.rateCurve.clear();
    if (std::int32_t count = kor::wtoi(parameter(L"RateBPNum").c_str()); count != 0)
        kor::readBreakPoints(count, parameter(L"RateBPX"), parameter(L"RateBPY"), shape_.rateCurve);
}

namespace kor {

void readBreakPoints(std::int32_t count, std::wstring_view xs, std::wstring_view ys,
                     std::vector<tagBreakPoint>& curve) {
    for (std::int32_t i = 0; i < count; ++i) {
        std::wstring xToken = nextToken(xs, L',', kTokenCapacity);
        if (xToken.empty()) break;
        float scaled = readFraction(xToken) * static_cast<float>(kBreakPointFullLength);
        // Also ends on positions too far below zero to be a tick fraction, and on NaN.
        if (!(scaled <= static_cast<float>(kBreakPointFullLength)) || scaled < -2147483648.0f)
            break;
        std::wstring yToken = nextToken(ys, L',', kTokenCapacity);
        if (yToken.empty()) break;
        auto y = static_cast<std::int16_t>(static_cast<std::uint16_t>(wtoi(yToken.c_str())));
        curve.push_back({static_cast<std::int32_t>(scaled), y});
    }
}

std::optional<std::wstring> findArticulationFile(std::wstring_view itemFilePath) {
    std::size_t folderEnd = itemFilePath.find_last_of(L"/\\");
    folderEnd = folderEnd == std::wstring_view::npos ? 0 : folderEnd + 1;
    std::wstring_view folder = itemFilePath.substr(0, folderEnd);
    std::wstring_view name = itemFilePath.substr(folderEnd);
    std::wstring_view base = name.substr(0, name.rfind(L'.'));
    if (!folder.empty()) folder.remove_suffix(1);

    std::wstring path;
    path.reserve(folder.size() + base.size() + 5);
    path.append(folder).append(L"/").append(base).append(L".aic");

    std::optional<platform::FileAttributes> attributes = platform::fileAttributes(path);
    if (!attributes || attributes->directory) return std::nullopt;
    return path;
}

} // namespace kor
