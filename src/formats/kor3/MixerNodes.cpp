#include "formats/kor3/MixerNodes.h"

namespace Kor3 {

namespace {

bool isLevel(int value) { return value >= kor::kMinLevel && value <= kor::kMaxLevel; }

/// Applies a value of the channel units (ZR and SE); false for another name.
template <class Values>
bool takeChannelValue(Values& values, std::wstring_view name, int value) {
    if (name == L"inGain")
        values.inGain = value;
    else if (name == L"sendLevel")
        values.sendLevel = value;
    else if (name == L"sendEnable")
        values.sendEnable = value;
    else if (name == L"mute")
        values.mute = value;
    else if (name == L"solo") {
        if (value == 0 || value == 1) values.solo = value;
    } else if (name == L"pan") {
        if (value >= 0 && value <= kor::kMaxPan) values.pan = value;
    } else if (name == L"vol") {
        if (isLevel(value)) values.vol = value;
    } else {
        return false;
    }
    return true;
}

constexpr std::wstring_view kChannelNames[] = {L"inGain", L"sendLevel", L"sendEnable", L"mute",
                                               L"solo",   L"pan",       L"vol"};

} // namespace

bool CZRMixerNode::startStructured(const ZRXmlTag& tag) {
    if (tag.name == L"masterUnit")
        startNodeChild<CZRMasterUnitNode>(tag, mixer_->masterUnit());
    else if (tag.name == L"zrUnit")
        startNodeChild<CZRZRUnitNode>(tag, mixer_->zrUnitList());
    else if (tag.name == L"seUnit")
        startNodeChild<CZRSEUnitNode>(tag, mixer_->seUnit());
    else if (tag.name == L"karaokeUnit")
        startNodeChild<CZRKaraokeUnitNode>(tag, mixer_->karaokeUnit());
    else
        return false;
    return true;
}

std::span<const std::wstring_view> CZRMasterUnitNode::valueNames() const {
    static constexpr std::wstring_view kNames[] = {L"outDev", L"retLevel", L"vol"};
    return kNames;
}

bool CZRMasterUnitNode::startStructured(const ZRXmlTag& tag) {
    if (tag.name == L"vstPlugin")
        startNodeChild<CZRVstPluginNode>(tag, unit_->vstList(CZRMasterUnit::kInsertList));
    else if (tag.name == L"vstPluginSR")
        startNodeChild<CZRVstPluginNode>(tag, unit_->vstList(CZRMasterUnit::kSendReturnList));
    else
        return false;
    return true;
}

void CZRMasterUnitNode::takeValue(std::wstring_view name, const CZRSimpleXmlNode& value) {
    ZRMasterUnitValues& values = unit_->values();
    (name == L"outDev" ? values.outDev : name == L"retLevel" ? values.srRetLevel : values.vol) =
        value.number();
}

bool AZRPluginUnitNode::startStructured(const ZRXmlTag& tag) {
    if (tag.name != L"vstPlugin") return false;
    startNodeChild<CZRVstPluginNode>(tag, pluginList());
    return true;
}

bool CZRZRUnitNode::begin() {
    unit_ = create<CZRZRUnit>();
    CZRNodeList* plugins = unit_ != nullptr ? createList(ZRObjType::VstPlugin) : nullptr;
    if (plugins == nullptr || !check(unit_->setVstList(0, plugins))) return false;
    append(units_, unit_);
    return true;
}

std::span<const std::wstring_view> CZRZRUnitNode::valueNames() const {
    static constexpr std::wstring_view kNames[] = {L"zrTrackNo", L"inGain", L"sendLevel",
                                                   L"sendEnable", L"mute", L"solo",
                                                   L"pan",        L"vol"};
    return kNames;
}

void CZRZRUnitNode::takeValue(std::wstring_view name, const CZRSimpleXmlNode& value) {
    if (!takeChannelValue(unit_->values(), name, value.number()))
        unit_->values().trackNo = value.number();
}

std::span<const std::wstring_view> CZRSEUnitNode::valueNames() const { return kChannelNames; }

void CZRSEUnitNode::takeValue(std::wstring_view name, const CZRSimpleXmlNode& value) {
    takeChannelValue(unit_->values(), name, value.number());
}

std::span<const std::wstring_view> CZRKaraokeUnitNode::valueNames() const {
    static constexpr std::wstring_view kNames[] = {L"inGain", L"mute", L"solo", L"vol"};
    return kNames;
}

void CZRKaraokeUnitNode::takeValue(std::wstring_view name, const CZRSimpleXmlNode& value) {
    ZRKaraokeUnitValues& values = unit_->values();
    const int number = value.number();
    if (name == L"inGain")
        values.inGain = number;
    else if (name == L"mute")
        values.mute = number;
    else if (name == L"solo")
        values.solo = number;
    else if (isLevel(number))
        values.vol = number;
}

std::span<const std::wstring_view> CZRVstPluginNode::valueNames() const {
    static constexpr std::wstring_view kNames[] = {
        L"vstPluginID", L"vstPluginName", L"vstSDKVersion", L"vstParamNum",
        L"val",         L"vstPresetNo",   L"enable",        L"bypass"};
    return kNames;
}

void CZRVstPluginNode::takeValue(std::wstring_view name, const CZRSimpleXmlNode& value) {
    if (name == L"vstPluginID")
        values_.id = value.text();
    else if (name == L"vstPluginName")
        values_.name = value.text();
    else if (name == L"val")
        params_.push_back(value.number());
    else
        (name == L"vstSDKVersion" ? values_.sdkVersion
         : name == L"vstParamNum" ? values_.paramNum
         : name == L"vstPresetNo" ? values_.presetNo
         : name == L"enable"      ? values_.enable
                                  : values_.bypass) = value.number();
}

void CZRVstPluginNode::finish() {
    // A plug-in read from a file is a live slot; its repair empties it when its SDK version or
    // ID mark it as none.
    values_.valid = 1;
    CZRVstPlugin* plugin = create<CZRVstPlugin>(values_);
    if (plugin == nullptr) return;
    plugin->setParamValues(std::move(params_));
    append(list_, plugin);
}

} // namespace Kor3
