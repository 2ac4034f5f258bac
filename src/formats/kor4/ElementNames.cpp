#include "formats/kor4/ElementNames.h"

#include <span>
#include <unordered_map>

namespace Kor4 {

namespace {

struct Rename {
    std::wstring_view kor4;
    const wchar_t* kor3;
};

constexpr Rename kRoot[] = {{L"monoTrack", L"seTrack"}, {L"stTrack", L"karaokeTrack"}};
constexpr Rename kVVoice[] = {
    {L"bs", L"vBS"}, {L"pc", L"vPC"}, {L"id", L"compID"}, {L"name", L"vVoiceName"}};
constexpr Rename kMixer[] = {{L"monoUnit", L"seUnit"}, {L"stUnit", L"karaokeUnit"}};
constexpr Rename kMasterUnit[] = {{L"plug", L"vstPlugin"},
                                  {L"plugSR", L"vstPluginSR"},
                                  {L"oDev", L"outDev"},
                                  {L"rLvl", L"retLevel"}};
constexpr Rename kChannelUnit[] = {
    {L"plug", L"vstPlugin"}, {L"tNo", L"zrTrackNo"},      {L"iGin", L"inGain"},
    {L"sLvl", L"sendLevel"}, {L"sEnable", L"sendEnable"}, {L"m", L"mute"},
    {L"s", L"solo"}};
constexpr Rename kPlugin[] = {{L"id", L"vstPluginID"},
                              {L"name", L"vstPluginName"},
                              {L"sdkVer", L"vstSDKVersion"},
                              {L"nPrm", L"vstParamNum"},
                              {L"v", L"val"},
                              {L"presetNo", L"vstPresetNo"}};
constexpr Rename kTimeSig[] = {{L"m", L"posMes"}, {L"nu", L"nume"}, {L"de", L"denomi"}};
constexpr Rename kTempo[] = {{L"t", L"posTick"}, {L"v", L"bpm"}};
constexpr Rename kZRTrack[] = {
    {L"tNo", L"zrTrackNo"}, {L"name", L"trackName"}, {L"zrPart", L"musicalPart"}};
constexpr Rename kMusicalPart[] = {{L"t", L"posTick"},
                                   {L"name", L"partName"},
                                   {L"sPlug", L"stylePlugin"},
                                   {L"pStyle", L"partStyle"}};
constexpr Rename kSinger[] = {{L"t", L"posTick"}, {L"bs", L"vBS"}, {L"pc", L"vPC"}};
constexpr Rename kControl[] = {{L"t", L"posTick"}};
constexpr Rename kStylePlugin[] = {{L"id", L"stylePluginID"}, {L"name", L"stylePluginName"}};
constexpr Rename kPartStyle[] = {{L"v", L"attr"}};
constexpr Rename kNote[] = {{L"t", L"posTick"},       {L"dur", L"durTick"}, {L"n", L"noteNum"},
                            {L"v", L"velocity"},      {L"y", L"lyric"},     {L"p", L"phnms"},
                            {L"nStyle", L"noteStyle"}};
constexpr Rename kNoteStyle[] = {{L"v", L"attr"}, {L"seq", L"seqAttr"}};
constexpr Rename kSeqAttr[] = {{L"cc", L"elem"}};
constexpr Rename kElem[] = {{L"p", L"posNrm"}, {L"v", L"elv"}};
constexpr Rename kWAVPart[] = {{L"t", L"posTick"},
                               {L"name", L"partName"},
                               {L"fs", L"sampleRate"},
                               {L"rs", L"sampleReso"},
                               {L"nCh", L"channels"}};
constexpr Rename kAux[] = {{L"id", L"auxID"}};

const std::unordered_map<std::wstring_view, std::span<const Rename>>& renames() {
    static const std::unordered_map<std::wstring_view, std::span<const Rename>> kByContext{
        {L"kor4", kRoot},
        {L"vVoice", kVVoice},
        {L"mixer", kMixer},
        {L"masterUnit", kMasterUnit},
        {L"zrUnit", kChannelUnit},
        {L"seUnit", kChannelUnit},
        {L"karaokeUnit", kChannelUnit},
        {L"vstPlugin", kPlugin},
        {L"vstPluginSR", kPlugin},
        {L"timeSig", kTimeSig},
        {L"tempo", kTempo},
        {L"zrTrack", kZRTrack},
        {L"musicalPart", kMusicalPart},
        {L"singer", kSinger},
        {L"cc", kControl},
        {L"stylePlugin", kStylePlugin},
        {L"partStyle", kPartStyle},
        {L"note", kNote},
        {L"noteStyle", kNoteStyle},
        {L"seqAttr", kSeqAttr},
        {L"elem", kElem},
        {L"wavPart", kWAVPart},
        {L"aux", kAux},
    };
    return kByContext;
}

} // namespace

const wchar_t* kor3Name(std::wstring_view context, std::wstring_view name) {
    const auto& byContext = renames();
    const auto found = byContext.find(context);
    if (found == byContext.end()) return nullptr;
    for (const Rename& rename : found->second)
        if (rename.kor4 == name) return rename.kor3;
    return nullptr;
}

} // namespace Kor4
