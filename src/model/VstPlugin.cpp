#include "model/VstPlugin.h"

#include "model/DumpFormat.h"

#include <new>

namespace {

bool countMatches(const ZRVstPluginValues& v) {
    return v.paramNum >= 0 && static_cast<std::size_t>(v.paramNum) == v.values.size();
}

} // namespace

std::int32_t CZRVstPlugin::getParamValue(std::uint32_t index) const {
    return index < values().values.size() ? values().values[index] : 0;
}

ZRVstPluginValues CZRVstPlugin::emptySlot() {
    ZRVstPluginValues empty;
    empty.id = kEmptyID;
    return empty;
}

void CZRVstPlugin::setParamValues(std::vector<std::int32_t> paramValues) {
    values().paramNum = static_cast<std::int32_t>(paramValues.size());
    values().values = std::move(paramValues);
}

std::uint32_t CZRVstPlugin::validate() const {
    if (const std::uint32_t code = TZRValueObject::validate(); code != 0) return code;
    if (!countMatches(values())) return ZR_E_INVALID_VST_PLUGIN_PARAMETER_VALUES;
    return 0;
}

std::uint32_t CZRVstPlugin::correct(CZRObjectTable&, const ZRCreateContext&) {
    ZRVstPluginValues& v = values();
    // A negative SDK version is reported by validate but is not one of the marks of an empty
    // slot, so the repair leaves it.
    const bool emptyMark = v.sdkVersion == 0 || v.sdkVersion > kMaxSDKVersion;
    const auto idLength = static_cast<std::int32_t>(v.id.size());
    if (emptyMark || idLength < kMinIDLength || idLength > kMaxIDLength) {
        if (v == emptySlot()) return 0;
        resetToEmptySlot();
        return 1;
    }
    if (countMatches(v)) return 0;
    if (v.paramNum < 0 || v.paramNum > kMaxRepairedParams)
        return ZR_E_INVALID_VST_PLUGIN_PARAMETER_VALUES | kor::kUnrepairable;
    try {
        v.values.resize(static_cast<std::size_t>(v.paramNum), 0);
    } catch (const std::bad_alloc&) {
        return ZR_E_INVALID_VST_PLUGIN_PARAMETER_VALUES | kor::kUnrepairable;
    }
    v.valid = 0;
    return 1;
}

void CZRVstPlugin::dumpFields(std::wstring& out) const {
    const ZRVstPluginValues& v = values();
    kor::appendFormat(out,
                      L" id=%ls name=%ls sdkVersion=%d paramNum=%d presetNo=%d enable=%d "
                      L"bypass=%d valid=%d",
                      v.id.c_str(), v.name.c_str(), v.sdkVersion, v.paramNum, v.presetNo, v.enable,
                      v.bypass, v.valid);
    for (std::size_t i = 0; i < v.values.size(); ++i)
        kor::appendFormat(out, L" val[%d]=%d ", static_cast<int>(i), v.values[i]);
}
