#include "formats/kor3/TextLimits.h"

#include <algorithm>
#include <array>
#include <utility>

namespace Kor3 {

namespace {

// Sorted by name, for a binary search: this is asked for every element of a song.
constexpr std::array<std::pair<std::wstring_view, std::size_t>, 18> kTextElements{{
    {L"auxID", kNameMax},
    {L"comment", kNameMax},
    {L"compID", kCompIDMax},
    {L"content", kNoTextLimit},
    {L"filePath", kPathMax},
    {L"lyric", kSymbolMax},
    {L"partName", kNameMax},
    {L"phnmStr", kSymbolMax},
    {L"phnms", kSymbolMax},
    {L"seqName", kNameMax},
    {L"stylePluginID", kPluginIDMax},
    {L"stylePluginName", kNameMax},
    {L"trackName", kNameMax},
    {L"vVoiceName", kNameMax},
    {L"vender", kNameMax},
    {L"version", kVersionMax},
    {L"vstPluginID", kPluginIDMax},
    {L"vstPluginName", kNameMax},
}};

static_assert(std::ranges::is_sorted(kTextElements, {}, &decltype(kTextElements)::value_type::first));

} // namespace

std::size_t maxTextLength(std::wstring_view element) {
    const auto* found = std::ranges::lower_bound(kTextElements, element, {},
                                                 &decltype(kTextElements)::value_type::first);
    return found != kTextElements.end() && found->first == element ? found->second : 0;
}

} // namespace Kor3
