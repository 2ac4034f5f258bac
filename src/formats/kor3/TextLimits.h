// The longest text each element of a KOR3 song holds, shared by the writer and the reader.
#pragma once

#include "formats/kor3/ElementNames.h"

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

} // namespace detail

/// The most characters the text element `element` holds, kNoTextLimit for one without limit,
/// and 0 for every element whose text is no text value (numbers and structured elements).
/// KOR4 elements are asked by the KOR3 names they stand for. The writer's answers are worked out
/// while compiling. The reader asks for every element of a song, and most hold no text (numbers,
/// containers): the length and the first character turn them away before any whole name is
/// compared, which a search by halves would do several times for each.
constexpr std::size_t maxTextLength(std::u16string_view element) {
    for (const auto& [name, limit] : detail::kTextElements)
        if (name.size() == element.size() && name.front() == element.front() && name == element)
            return limit;
    return 0;
}

} // namespace Kor3
