#include "formats/kor3/TextLimits.h"

#include <array>
#include <utility>

namespace Kor3 {

namespace {

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

} // namespace

// This is asked for every element of a song, and most hold no text (numbers, containers): the
// length and the first character turn them away before any whole name is compared, which a
// search by halves would do several times for each.
std::size_t maxTextLength(std::wstring_view element) {
    for (const auto& [name, limit] : kTextElements)
        if (name.size() == element.size() && name.front() == element.front() && name == element)
            return limit;
    return 0;
}

} // namespace Kor3
