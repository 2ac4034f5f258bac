#include "formats/kor4/ElementNames.h"

#include "formats/kor3/ElementNames.h"

#include <span>
#include <unordered_map>

namespace Kor4 {

namespace {

struct Rename {
    std::wstring_view kor4;
    std::wstring_view kor3;
};

constexpr Rename kRoot[] = {{L"monoTrack", Kor3::kSeTrack}, {L"stTrack", Kor3::kKaraokeTrack}};
constexpr Rename kVVoice[] = {
    {L"bs", Kor3::kVBS}, {L"pc", Kor3::kVPC}, {L"id", Kor3::kCompID}, {L"name", Kor3::kVVoiceName}};
constexpr Rename kMixer[] = {{L"monoUnit", Kor3::kSeUnit}, {L"stUnit", Kor3::kKaraokeUnit}};
constexpr Rename kMasterUnit[] = {{L"plug", Kor3::kVstPlugin},
                                  {L"plugSR", Kor3::kVstPluginSR},
                                  {L"oDev", Kor3::kOutDev},
                                  {L"rLvl", Kor3::kRetLevel}};
constexpr Rename kChannelUnit[] = {
    {L"plug", Kor3::kVstPlugin}, {L"tNo", Kor3::kZrTrackNo},      {L"iGin", Kor3::kInGain},
    {L"sLvl", Kor3::kSendLevel}, {L"sEnable", Kor3::kSendEnable}, {L"m", Kor3::kMute},
    {L"s", Kor3::kSolo}};
constexpr Rename kPlugin[] = {{L"id", Kor3::kVstPluginID},
                              {L"name", Kor3::kVstPluginName},
                              {L"sdkVer", Kor3::kVstSDKVersion},
                              {L"nPrm", Kor3::kVstParamNum},
                              {L"v", Kor3::kVal},
                              {L"presetNo", Kor3::kVstPresetNo}};
constexpr Rename kTimeSig[] = {{L"m", Kor3::kPosMes}, {L"nu", Kor3::kNume}, {L"de", Kor3::kDenomi}};
constexpr Rename kTempo[] = {{L"t", Kor3::kPosTick}, {L"v", Kor3::kBpm}};
constexpr Rename kZRTrack[] = {
    {L"tNo", Kor3::kZrTrackNo}, {L"name", Kor3::kTrackName}, {L"zrPart", Kor3::kMusicalPart}};
constexpr Rename kMusicalPart[] = {{L"t", Kor3::kPosTick},
                                   {L"name", Kor3::kPartName},
                                   {L"sPlug", Kor3::kStylePlugin},
                                   {L"pStyle", Kor3::kPartStyle}};
constexpr Rename kSinger[] = {{L"t", Kor3::kPosTick}, {L"bs", Kor3::kVBS}, {L"pc", Kor3::kVPC}};
constexpr Rename kControl[] = {{L"t", Kor3::kPosTick}};
constexpr Rename kStylePlugin[] = {{L"id", Kor3::kStylePluginID},
                                   {L"name", Kor3::kStylePluginName}};
constexpr Rename kPartStyle[] = {{L"v", Kor3::kAttr}};
constexpr Rename kNote[] = {{L"t", Kor3::kPosTick},       {L"dur", Kor3::kDurTick},
                            {L"n", Kor3::kNoteNum},       {L"v", Kor3::kVelocity},
                            {L"y", Kor3::kLyric},         {L"p", Kor3::kPhnms},
                            {L"nStyle", Kor3::kNoteStyle}};
constexpr Rename kNoteStyle[] = {{L"v", Kor3::kAttr}, {L"seq", Kor3::kSeqAttr}};
constexpr Rename kSeqAttr[] = {{L"cc", Kor3::kElem}};
constexpr Rename kElem[] = {{L"p", Kor3::kPosNrm}, {L"v", Kor3::kElv}};
constexpr Rename kWAVPart[] = {{L"t", Kor3::kPosTick},
                               {L"name", Kor3::kPartName},
                               {L"fs", Kor3::kSampleRate},
                               {L"rs", Kor3::kSampleReso},
                               {L"nCh", Kor3::kChannels}};
constexpr Rename kAux[] = {{L"id", Kor3::kAuxID}};

const std::unordered_map<std::wstring_view, std::span<const Rename>>& renames() {
    static const std::unordered_map<std::wstring_view, std::span<const Rename>> kByContext{
        {L"kor4", kRoot},
        {Kor3::kVVoice, kVVoice},
        {Kor3::kMixer, kMixer},
        {Kor3::kMasterUnit, kMasterUnit},
        {Kor3::kZrUnit, kChannelUnit},
        {Kor3::kSeUnit, kChannelUnit},
        {Kor3::kKaraokeUnit, kChannelUnit},
        {Kor3::kVstPlugin, kPlugin},
        {Kor3::kVstPluginSR, kPlugin},
        {Kor3::kTimeSig, kTimeSig},
        {Kor3::kTempo, kTempo},
        {Kor3::kZrTrack, kZRTrack},
        {Kor3::kMusicalPart, kMusicalPart},
        {Kor3::kSinger, kSinger},
        {L"cc", kControl},
        {Kor3::kStylePlugin, kStylePlugin},
        {Kor3::kPartStyle, kPartStyle},
        {Kor3::kNote, kNote},
        {Kor3::kNoteStyle, kNoteStyle},
        {Kor3::kSeqAttr, kSeqAttr},
        {Kor3::kElem, kElem},
        {Kor3::kWavPart, kWAVPart},
        {Kor3::kAux, kAux},
    };
    return kByContext;
}

} // namespace

std::wstring_view kor3Name(std::wstring_view context, std::wstring_view name) {
    const auto& byContext = renames();
    const auto found = byContext.find(context);
    if (found == byContext.end()) return {};
    for (const Rename& rename : found->second)
        if (rename.kor4 == name) return rename.kor3;
    return {};
}

} // namespace Kor4
