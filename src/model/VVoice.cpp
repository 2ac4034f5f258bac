#include "model/VVoice.h"

#include "model/DumpFormat.h"

#include <algorithm>

namespace {

constexpr std::array kParams{&ZRVVoiceParam::breathiness, &ZRVVoiceParam::brightness,
                             &ZRVVoiceParam::clearness, &ZRVVoiceParam::genderFactor,
                             &ZRVVoiceParam::opening};

bool paramsInRange(const ZRVVoiceParam& param) {
    return std::all_of(kParams.begin(), kParams.end(), [&param](auto field) {
        return param.*field >= -CZRVVoice::kMaxParam && param.*field <= CZRVVoice::kMaxParam;
    });
}

} // namespace

std::uint32_t CZRVVoice::checkValues(const ZRVVoiceValues& values) {
    if (const std::uint32_t code = kor::checkRules<ZRVVoiceValues>(values, kRules)) return code;
    return paramsInRange(values.param) ? 0 : ZR_E_INVALID_VVOICE_PARAMETER;
}

std::uint32_t CZRVVoice::correct(CZRObjectTable& table, const ZRCreateContext& context) {
    const std::uint32_t result = TZRValueObject::correct(table, context);
    if ((result & kor::kUnrepairable) != 0 || paramsInRange(values().param)) return result;
    for (auto field : kParams)
        values().param.*field = std::clamp(values().param.*field, -kMaxParam, kMaxParam);
    return 1;
}

// The parameter line prints `opening` before `genderFactor`, unlike the record's order; stored
// dumps and tests compare against this text.
void CZRVVoice::dumpFields(std::wstring& out) const {
    const ZRVVoiceValues& v = values();
    kor::appendFormat(out, L" vBS=%d vPC=%d compID=%ls name=%ls", v.vBS, v.vPC, v.compID.c_str(),
                      v.name.c_str());
    kor::appendFormat(out,
                      L" breathiness=%d brightness=%d clearness=%d opening=%d genderFactor=%d ",
                      v.param.breathiness, v.param.brightness, v.param.clearness, v.param.opening,
                      v.param.genderFactor);
}

namespace kor {

// A null text is as invalid as an empty one: no component ID has 0 characters, no name is empty.
std::uint32_t checkVVoiceValues(std::int32_t vBS, std::int32_t vPC, const wchar_t* compID,
                                const wchar_t* name, const ZRVVoiceParam& param) {
    return CZRVVoice::checkValues(ZRVVoiceValues{vBS, vPC, compID != nullptr ? compID : L"",
                                                 name != nullptr ? name : L"", param});
}

} // namespace kor
