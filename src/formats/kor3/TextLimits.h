// The longest text each element of a KOR3 song holds, shared by the writer and the reader.
#pragma once

#include "formats/kor3/ElementNames.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <string_view>
#include <utility>

namespace Kor3 {

inline constexpr std::size_t kVersionMax = 15;
inline constexpr std::size_t kCompIDMax = 16;
inline constexpr std::size_t kSymbolMax = 32;
inline constexpr std::size_t kPluginIDMax = 36;
inline constexpr std::size_t kNameMax = 256;
inline constexpr std::size_t kPathMax = 260;
/// An element whose text may be of any length (the content of an aux record).
inline constexpr std::size_t kNoTextLimit = static_cast<std::size_t>(-1);

namespace detail {

inline constexpr std::array<std::pair<std::u16string_view, std::size_t>, 18> kTextElements{{
    {kAuxID, kNameMax},
    {kComment, kNameMax},
    {kCompID, kCompIDMax},
    {kContent, kNoTextLimit},
    {kFilePath, kPathMax},
    {kLyric, kSymbolMax},
    {kPartName, kNameMax},
    {kPhnmStr, kSymbolMax},
    {kPhnms, kSymbolMax},
    {kSeqName, kNameMax},
    {kStylePluginID, kPluginIDMax},
    {kStylePluginName, kNameMax},
    {kTrackName, kNameMax},
    {kVVoiceName, kNameMax},
    {kVender, kNameMax},
    {kVersion, kVersionMax},
    {kVstPluginID, kPluginIDMax},
    {kVstPluginName, kNameMax},
}};

/// The text elements in order of name length, and where the names of each length start, so that
/// a lookup compares only names of the length it asks for.
inline constexpr auto kTextElementsByLength = [] {
    auto sorted = kTextElements;
    std::sort(sorted.begin(), sorted.end(),
              [](const auto& a, const auto& b) { return a.first.size() < b.first.size(); });
    return sorted;
}();
inline constexpr std::size_t kLongestTextElement = kTextElementsByLength.back().first.size();
inline constexpr auto kFirstOfLength = [] {
    std::array<std::size_t, kLongestTextElement + 2> first{};
    std::size_t at = 0;
    for (std::size_t length = 0; length < first.size(); ++length) {
        while (at < kTextElementsByLength.size() && kTextElementsByLength[at].first.size() < length)
            ++at;
        first[length] = at;
    }
    return first;
}();

} // namespace detail

/// The most characters the text element `element` holds, kNoTextLimit for one without limit,
/// and 0 for every element whose text is no text value (numbers and structured elements).
/// KOR4 elements are asked by the KOR3 names they stand for. The writer's answers are worked out
/// while compiling; the reader asks for every value it reads, so only the names of the asked
/// length are compared.
constexpr std::size_t maxTextLength(std::u16string_view element) {
    if (element.size() > detail::kLongestTextElement) return 0;
    const std::size_t end = detail::kFirstOfLength[element.size() + 1];
    for (std::size_t at = detail::kFirstOfLength[element.size()]; at < end; ++at)
        if (detail::kTextElementsByLength[at].first == element)
            return detail::kTextElementsByLength[at].second;
    return 0;
}

// Every text element is found by its length, with its own limit.
static_assert([] {
    for (const auto& [name, limit] : detail::kTextElements)
        if (maxTextLength(name) != limit) return false;
    return maxTextLength(kPosTick) == 0 && maxTextLength(u"") == 0;
}());

} // namespace Kor3
