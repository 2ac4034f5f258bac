// The mixer unit of the sound-effect audio track.
#pragma once

#include "model/MixerUnit.h"

#include <korman/ErrorCodes.h>
#include <korman/IZRSEUnit.h>

/// Initial values of an SE unit.
struct ZRSEUnitValues {
    std::int32_t inGain = 0;
    std::int32_t sendLevel = 0;
    std::int32_t sendEnable = 0;
    std::int32_t mute = 0;
    std::int32_t solo = 0;
    std::int32_t pan = 0;
    std::int32_t vol = 0;
};

/// The channel of the sound-effect track. Solo is checked but never repaired, mute is neither.
class CZRSEUnit final : public TZRChannelUnit<CZRSEUnit, IZRSEUnit, ZRSEUnitValues> {
public:
    static constexpr ZRObjType kType = ZRObjType::SEUnit;

    static constexpr std::array kRules = kor::channelRules<ZRSEUnitValues>(
        {ZR_E_INVALID_SE_UNIT_INPUT_GAIN, ZR_E_INVALID_SE_UNIT_SEND_LEVEL,
         ZR_E_INVALID_SE_UNIT_SEND_SWITCH, ZR_E_INVALID_SE_UNIT_SOLO, ZR_E_INVALID_SE_UNIT_PANPOT,
         ZR_E_INVALID_SE_UNIT_VOLUME});
    static constexpr std::array kVstLists{kor::VstListRule{2, ZR_E_INVALID_VST_PLUGIN_NUMBER}};

    using TZRChannelUnit::TZRChannelUnit;

private:
    friend class TZRObject<CZRSEUnit, IZRSEUnit>;

    void dumpFields(std::wstring& out) const { dumpChannel(out); }
};
