#include "formats/kor4/Kor3Renames.h"

#include "formats/kor3/ElementNames.h"

#include <span>
#include <unordered_map>

namespace Kor4 {

namespace {

struct Rename {
    std::u16string_view kor4;
    std::u16string_view kor3;
};

constexpr Rename kRoot[] = {{u"monoTrack", Kor3::kSeTrack}, {u"stTrack", Kor3::kKaraokeTrack}};
constexpr Rename kVVoice[] = {
    {u"bs", Kor3::kVBS}, {u"pc", Kor3::kVPC}, {u"id", Kor3::kCompID}, {u"name", Kor3::kVVoiceName}};
constexpr Rename kMixer[] = {{u"monoUnit", Kor3::kSeUnit}, {u"stUnit", Kor3::kKaraokeUnit}};
constexpr Rename kMasterUnit[] = {{u"plug", Kor3::kVstPlugin},
                                  {u"plugSR", Kor3::kVstPluginSR},
                                  {u"oDev", Kor3::kOutDev},
                                  {u"rLvl", Kor3::kRetLevel}};
constexpr Rename kChannelUnit[] = {
    {u"plug", Kor3::kVstPlugin}, {u"tNo", Kor3::kZrTrackNo},      {u"iGin", Kor3::kInGain},
    {u"sLvl", Kor3::kSendLevel}, {u"sEnable", Kor3::kSendEnable}, {u"m", Kor3::kMute},
    {u"s", Kor3::kSolo}};
constexpr Rename kPlugin[] = {{u"id", Kor3::kVstPluginID},
                              {u"name", Kor3::kVstPluginName},
                              {u"sdkVer", Kor3::kVstSDKVersion},
                              {u"nPrm", Kor3::kVstParamNum},
                              {u"v", Kor3::kVal},
                              {u"presetNo", Kor3::kVstPresetNo}};
constexpr Rename kTimeSig[] = {{u"m", Kor3::kPosMes}, {u"nu", Kor3::kNume}, {u"de", Kor3::kDenomi}};
constexpr Rename kTempo[] = {{u"t", Kor3::kPosTick}, {u"v", Kor3::kBpm}};
constexpr Rename kZRTrack[] = {
    {u"tNo", Kor3::kZrTrackNo}, {u"name", Kor3::kTrackName}, {u"zrPart", Kor3::kMusicalPart}};
constexpr Rename kMusicalPart[] = {{u"t", Kor3::kPosTick},
                                   {u"name", Kor3::kPartName},
                                   {u"sPlug", Kor3::kStylePlugin},
                                   {u"pStyle", Kor3::kPartStyle}};
constexpr Rename kSinger[] = {{u"t", Kor3::kPosTick}, {u"bs", Kor3::kVBS}, {u"pc", Kor3::kVPC}};
constexpr Rename kControl[] = {{u"t", Kor3::kPosTick}};
constexpr Rename kStylePlugin[] = {{u"id", Kor3::kStylePluginID},
                                   {u"name", Kor3::kStylePluginName}};
constexpr Rename kPartStyle[] = {{u"v", Kor3::kAttr}};
constexpr Rename kNote[] = {{u"t", Kor3::kPosTick},       {u"dur", Kor3::kDurTick},
                            {u"n", Kor3::kNoteNum},       {u"v", Kor3::kVelocity},
                            {u"y", Kor3::kLyric},         {u"p", Kor3::kPhnms},
                            {u"nStyle", Kor3::kNoteStyle}};
constexpr Rename kNoteStyle[] = {{u"v", Kor3::kAttr}, {u"seq", Kor3::kSeqAttr}};
constexpr Rename kSeqAttr[] = {{u"cc", Kor3::kElem}};
constexpr Rename kElem[] = {{u"p", Kor3::kPosNrm}, {u"v", Kor3::kElv}};
constexpr Rename kWAVPart[] = {{u"t", Kor3::kPosTick},
                               {u"name", Kor3::kPartName},
                               {u"fs", Kor3::kSampleRate},
                               {u"rs", Kor3::kSampleReso},
                               {u"nCh", Kor3::kChannels}};
constexpr Rename kAux[] = {{u"id", Kor3::kAuxID}};

const std::unordered_map<std::u16string_view, std::span<const Rename>>& renames() {
    static const std::unordered_map<std::u16string_view, std::span<const Rename>> kByContext{
        {u"kor4", kRoot},
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
        {u"cc", kControl},
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

std::u16string_view kor3Name(std::u16string_view context, std::u16string_view name) {
    const auto& byContext = renames();
    const auto found = byContext.find(context);
    if (found == byContext.end()) return {};
    for (const Rename& rename : found->second)
        if (rename.kor4 == name) return rename.kor3;
    return {};
}

} // namespace Kor4
