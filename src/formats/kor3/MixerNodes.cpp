#include "formats/kor3/MixerNodes.h"

#include <utility>

namespace Kor3 {

namespace {

bool isLevel(int value) {
    return value >= kor::kMinLevel && value <= kor::kMaxLevel;
}
bool isSolo(int value) {
    return value == 0 || value == 1;
}
bool isPan(int value) {
    return value >= 0 && value <= kor::kMaxPan;
}

/// Takes a value into `Field` when `Fits` accepts it; another value leaves the field as it was.
template <class Values, std::int32_t Values::*Field, bool (*Fits)(int)>
void takeChecked(Values& values, const CZRXmlValue& value) {
    if (const int number = value.number(); Fits(number)) values.*Field = number;
}

/// The values of the channel units (ZR and SE).
template <class Values>
constexpr TZRValueField<Values> kChannelValues[] = {
    {kInGain, &Values::inGain},
    {kSendLevel, &Values::sendLevel},
    {kSendEnable, &Values::sendEnable},
    {kMute, &Values::mute},
    {kSolo, takeChecked<Values, &Values::solo, isSolo>},
    {kPan, takeChecked<Values, &Values::pan, isPan>},
    {kVol, takeChecked<Values, &Values::vol, isLevel>},
};

constexpr TZRValueField<ZRZRUnitValues> kZRUnitValues[] = {
    {kZrTrackNo, &ZRZRUnitValues::trackNo},
};

constexpr TZRValueField<ZRMasterUnitValues> kMasterUnitValues[] = {
    {kOutDev, &ZRMasterUnitValues::outDev},
    {kRetLevel, &ZRMasterUnitValues::srRetLevel},
    {kVol, &ZRMasterUnitValues::vol},
};

constexpr TZRValueField<ZRKaraokeUnitValues> kKaraokeUnitValues[] = {
    {kInGain, &ZRKaraokeUnitValues::inGain},
    {kMute, &ZRKaraokeUnitValues::mute},
    {kSolo, &ZRKaraokeUnitValues::solo},
    {kVol, takeChecked<ZRKaraokeUnitValues, &ZRKaraokeUnitValues::vol, isLevel>},
};

constexpr TZRValueField<ZRVstPluginValues> kVstPluginValues[] = {
    {kVstPluginID, &ZRVstPluginValues::id},
    {kVstPluginName, &ZRVstPluginValues::name},
    {kVstSDKVersion, &ZRVstPluginValues::sdkVersion},
    {kVstParamNum, &ZRVstPluginValues::paramNum},
    {kVal, [](ZRVstPluginValues& values,
              const CZRXmlValue& value) { values.values.push_back(value.number()); }},
    {kVstPresetNo, &ZRVstPluginValues::presetNo},
    {kEnable, &ZRVstPluginValues::enable},
    {kBypass, &ZRVstPluginValues::bypass},
};

} // namespace

bool CZRMixerNode::startStructured(const ZRXmlStartTag& tag) {
    if (tag.name == kMasterUnit)
        startNodeChild<CZRMasterUnitNode>(mixer_->masterUnit());
    else if (tag.name == kZrUnit)
        startNodeChild<CZRZRUnitNode>(mixer_->zrUnitList());
    else if (tag.name == kSeUnit)
        startNodeChild<CZRSEUnitNode>(mixer_->seUnit());
    else if (tag.name == kKaraokeUnit)
        startNodeChild<CZRKaraokeUnitNode>(mixer_->karaokeUnit());
    else
        return false;
    return true;
}

std::size_t CZRMasterUnitNode::findValue(std::u16string_view name) const {
    return findRow(kMasterUnitValues, name);
}

bool CZRMasterUnitNode::startStructured(const ZRXmlStartTag& tag) {
    if (tag.name == kVstPlugin)
        startNodeChild<CZRVstPluginNode>(unit_->vstList(CZRMasterUnit::kInsertList));
    else if (tag.name == kVstPluginSR)
        startNodeChild<CZRVstPluginNode>(unit_->vstList(CZRMasterUnit::kSendReturnList));
    else
        return false;
    return true;
}

void CZRMasterUnitNode::takeRowValue(std::size_t row, const CZRXmlValue& value) {
    kMasterUnitValues[row].take(unit_->values(), value);
}

bool AZRPluginUnitNode::startStructured(const ZRXmlStartTag& tag) {
    if (tag.name != kVstPlugin) return false;
    startNodeChild<CZRVstPluginNode>(pluginList());
    return true;
}

bool CZRZRUnitNode::begin() {
    unit_ = create<CZRZRUnit>();
    CZRNodeList* plugins = unit_ != nullptr ? createList(ZRObjType::VstPlugin) : nullptr;
    if (plugins == nullptr || !check(unit_->setVstList(0, plugins))) return false;
    append(units_, unit_);
    return true;
}

std::size_t CZRZRUnitNode::findValue(std::u16string_view name) const {
    return findRow(kZRUnitValues, kChannelValues<ZRZRUnitValues>, name);
}

void CZRZRUnitNode::takeRowValue(std::size_t row, const CZRXmlValue& value) {
    takeRow(kZRUnitValues, unit_->values(), kChannelValues<ZRZRUnitValues>, unit_->values(), row,
            value);
}

namespace {

// The value table of each unit the mixer holds from the start.
constexpr const auto& valueRows(const CZRSEUnit*) {
    return kChannelValues<ZRSEUnitValues>;
}
constexpr const auto& valueRows(const CZRKaraokeUnit*) {
    return kKaraokeUnitValues;
}

} // namespace

template <class Unit>
std::size_t TZRFixedUnitNode<Unit>::findValue(std::u16string_view name) const {
    return findRow(valueRows(unit_), name);
}

template <class Unit>
void TZRFixedUnitNode<Unit>::takeRowValue(std::size_t row, const CZRXmlValue& value) {
    valueRows(unit_)[row].take(unit_->values(), value);
}

template class TZRFixedUnitNode<CZRSEUnit>;
template class TZRFixedUnitNode<CZRKaraokeUnit>;

std::size_t CZRVstPluginNode::findValue(std::u16string_view name) const {
    return findRow(kVstPluginValues, name);
}

void CZRVstPluginNode::takeRowValue(std::size_t row, const CZRXmlValue& value) {
    kVstPluginValues[row].take(values_, value);
}

void CZRVstPluginNode::finish() {
    // A plug-in read from a file is a live slot; its repair empties it when its SDK version or
    // ID mark it as none.
    values_.valid = 1;
    std::vector<std::int32_t> params = std::exchange(values_.values, {});
    CZRVstPlugin* plugin = create<CZRVstPlugin>(values_);
    if (plugin == nullptr) return;
    plugin->setParamValues(std::move(params));
    append(list_, plugin);
}

} // namespace Kor3
