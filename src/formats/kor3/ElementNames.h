// The names of the KOR3 elements and attributes, one spelling for the reader and the writer.
#pragma once

#include <cstddef>
#include <string_view>

namespace Kor3 {

/// A name of the format in the two forms its code needs: narrow for the writer, which copies it
/// into the UTF-8 document, and UTF-16 for the reader, which compares it with the names the XML
/// reader reports. The names are ASCII, so one spelling gives both.
template <std::size_t N> class TZRElementName {
public:
    consteval TZRElementName(const char (&name)[N]) {
        for (std::size_t i = 0; i < N; ++i) {
            narrow_[i] = name[i];
            utf16_[i] = static_cast<char16_t>(name[i]);
        }
    }

    constexpr operator std::string_view() const { return {narrow_, N - 1}; }
    constexpr operator std::u16string_view() const { return {utf16_, N - 1}; }
    friend constexpr bool operator==(const TZRElementName& name, std::u16string_view text) {
        return std::u16string_view(name) == text;
    }

private:
    char narrow_[N] = {};
    char16_t utf16_[N] = {};
};

// Elements.
inline constexpr TZRElementName kAttr{"attr"};
inline constexpr TZRElementName kAux{"aux"};
inline constexpr TZRElementName kAuxID{"auxID"};
inline constexpr TZRElementName kBpm{"bpm"};
inline constexpr TZRElementName kBre{"bre"};
inline constexpr TZRElementName kBri{"bri"};
inline constexpr TZRElementName kBypass{"bypass"};
inline constexpr TZRElementName kChannels{"channels"};
inline constexpr TZRElementName kCle{"cle"};
inline constexpr TZRElementName kComment{"comment"};
inline constexpr TZRElementName kCompID{"compID"};
inline constexpr TZRElementName kContent{"content"};
inline constexpr TZRElementName kDenomi{"denomi"};
inline constexpr TZRElementName kDurSec{"durSec"};
inline constexpr TZRElementName kDurTick{"durTick"};
inline constexpr TZRElementName kDyn{"dyn"};
inline constexpr TZRElementName kDynVal{"dynVal"};
inline constexpr TZRElementName kElem{"elem"};
inline constexpr TZRElementName kElv{"elv"};
inline constexpr TZRElementName kEnable{"enable"};
inline constexpr TZRElementName kFilePath{"filePath"};
inline constexpr TZRElementName kGen{"gen"};
inline constexpr TZRElementName kInGain{"inGain"};
inline constexpr TZRElementName kKaraokeTrack{"karaokeTrack"};
inline constexpr TZRElementName kKaraokeUnit{"karaokeUnit"};
inline constexpr TZRElementName kKor3{"kor3"};
inline constexpr TZRElementName kLyric{"lyric"};
inline constexpr TZRElementName kMCtrl{"mCtrl"};
inline constexpr TZRElementName kMasterTrack{"masterTrack"};
inline constexpr TZRElementName kMasterUnit{"masterUnit"};
inline constexpr TZRElementName kMixer{"mixer"};
inline constexpr TZRElementName kMusicalPart{"musicalPart"};
inline constexpr TZRElementName kMute{"mute"};
inline constexpr TZRElementName kNote{"note"};
inline constexpr TZRElementName kNoteNum{"noteNum"};
inline constexpr TZRElementName kNoteStyle{"noteStyle"};
inline constexpr TZRElementName kNume{"nume"};
inline constexpr TZRElementName kOpe{"ope"};
inline constexpr TZRElementName kOutDev{"outDev"};
inline constexpr TZRElementName kPCtrl{"pCtrl"};
inline constexpr TZRElementName kPan{"pan"};
inline constexpr TZRElementName kPartName{"partName"};
inline constexpr TZRElementName kPartStyle{"partStyle"};
inline constexpr TZRElementName kPch{"pch"};
inline constexpr TZRElementName kPchVal{"pchVal"};
inline constexpr TZRElementName kPhnm{"phnm"};
inline constexpr TZRElementName kPhnmStr{"phnmStr"};
inline constexpr TZRElementName kPhnms{"phnms"};
inline constexpr TZRElementName kPhraseStyle{"phraseStyle"};
inline constexpr TZRElementName kPlayTime{"playTime"};
inline constexpr TZRElementName kPosMes{"posMes"};
inline constexpr TZRElementName kPosNrm{"posNrm"};
inline constexpr TZRElementName kPosSec{"posSec"};
inline constexpr TZRElementName kPosTick{"posTick"};
inline constexpr TZRElementName kPreMeasure{"preMeasure"};
inline constexpr TZRElementName kProsodyPart{"prosodyPart"};
inline constexpr TZRElementName kResolution{"resolution"};
inline constexpr TZRElementName kRetLevel{"retLevel"};
inline constexpr TZRElementName kSCtrl{"sCtrl"};
inline constexpr TZRElementName kSampleRate{"sampleRate"};
inline constexpr TZRElementName kSampleReso{"sampleReso"};
inline constexpr TZRElementName kSeTrack{"seTrack"};
inline constexpr TZRElementName kSeUnit{"seUnit"};
inline constexpr TZRElementName kSendEnable{"sendEnable"};
inline constexpr TZRElementName kSendLevel{"sendLevel"};
inline constexpr TZRElementName kSeqAttr{"seqAttr"};
inline constexpr TZRElementName kSeqName{"seqName"};
inline constexpr TZRElementName kSinger{"singer"};
inline constexpr TZRElementName kSolo{"solo"};
inline constexpr TZRElementName kStylePlugin{"stylePlugin"};
inline constexpr TZRElementName kStylePluginID{"stylePluginID"};
inline constexpr TZRElementName kStylePluginName{"stylePluginName"};
inline constexpr TZRElementName kTempo{"tempo"};
inline constexpr TZRElementName kTimeSig{"timeSig"};
inline constexpr TZRElementName kTrackName{"trackName"};
inline constexpr TZRElementName kVBS{"vBS"};
inline constexpr TZRElementName kVPC{"vPC"};
inline constexpr TZRElementName kVVoice{"vVoice"};
inline constexpr TZRElementName kVVoiceName{"vVoiceName"};
inline constexpr TZRElementName kVVoiceParam{"vVoiceParam"};
inline constexpr TZRElementName kVVoiceTable{"vVoiceTable"};
inline constexpr TZRElementName kVal{"val"};
inline constexpr TZRElementName kVelocity{"velocity"};
inline constexpr TZRElementName kVender{"vender"};
inline constexpr TZRElementName kVersion{"version"};
inline constexpr TZRElementName kVoice{"voice"};
inline constexpr TZRElementName kVol{"vol"};
inline constexpr TZRElementName kVstParamNum{"vstParamNum"};
inline constexpr TZRElementName kVstParamVal{"vstParamVal"};
inline constexpr TZRElementName kVstPlugin{"vstPlugin"};
inline constexpr TZRElementName kVstPluginID{"vstPluginID"};
inline constexpr TZRElementName kVstPluginName{"vstPluginName"};
inline constexpr TZRElementName kVstPluginSR{"vstPluginSR"};
inline constexpr TZRElementName kVstPresetNo{"vstPresetNo"};
inline constexpr TZRElementName kVstSDKVersion{"vstSDKVersion"};
inline constexpr TZRElementName kWavPart{"wavPart"};
inline constexpr TZRElementName kZrTrack{"zrTrack"};
inline constexpr TZRElementName kZrTrackNo{"zrTrackNo"};
inline constexpr TZRElementName kZrUnit{"zrUnit"};

// Attributes.
inline constexpr TZRElementName kId{"id"};
inline constexpr TZRElementName kLock{"lock"};

} // namespace Kor3
