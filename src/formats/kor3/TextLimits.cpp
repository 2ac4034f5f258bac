#include "formats/kor3/TextLimits.h"

#include "formats/kor3/ElementNames.h"

#include <algorithm>
#include <array>
#include <utility>

namespace Kor3 {

namespace {

// Sorted by name, for a binary search: this is asked for every element of a song.
constexpr std::array<std::pair<std::wstring_view, std::size_t>, 18> kTextElements{{
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

static_assert(std::ranges::is_sorted(kTextElements, {},
                                     &decltype(kTextElements)::value_type::first));

} // namespace

std::size_t maxTextLength(std::wstring_view element) {
    const auto* found = std::ranges::lower_bound(kTextElements, element, {},
                                                 &decltype(kTextElements)::value_type::first);
    return found != kTextElements.end() && found->first == element ? found->second : 0;
}

} // namespace Kor3
