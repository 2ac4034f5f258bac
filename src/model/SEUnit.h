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
class CZRSEUnit final : public TZRMixerUnit<CZRSEUnit, IZRSEUnit, ZRSEUnitValues> {
public:
    static constexpr ZRObjType kType = ZRObjType::SEUnit;

    static constexpr std::array kRules{
        kor::numberRule(&ZRSEUnitValues::inGain, kor::kMinGain, kor::kMaxGain,
                        ZR_E_INVALID_SE_UNIT_INPUT_GAIN, kor::Repair::Clamp),
        kor::numberRule(&ZRSEUnitValues::sendLevel, kor::kMinLevel, kor::kMaxLevel,
                        ZR_E_INVALID_SE_UNIT_SEND_LEVEL, kor::Repair::Clamp),
        kor::numberRule(&ZRSEUnitValues::sendEnable, 0, 1, ZR_E_INVALID_SE_UNIT_SEND_SWITCH,
                        kor::Repair::Clamp),
        kor::numberRule(&ZRSEUnitValues::solo, 0, 1, ZR_E_INVALID_SE_UNIT_SOLO,
                        kor::Repair::Leave),
        kor::numberRule(&ZRSEUnitValues::pan, 0, kor::kMaxPan, ZR_E_INVALID_SE_UNIT_PANPOT,
                        kor::Repair::Clamp),
        kor::numberRule(&ZRSEUnitValues::vol, kor::kMinLevel, kor::kMaxLevel,
                        ZR_E_INVALID_SE_UNIT_VOLUME, kor::Repair::Clamp),
    };
    static constexpr std::array kVstLists{kor::VstListRule{2, ZR_E_INVALID_VST_PLUGIN_NUMBER}};

    using TZRMixerUnit::TZRMixerUnit;

    std::int32_t getInGain() const override { return values().inGain; }
    std::int32_t getSendLevel() const override { return values().sendLevel; }
    std::int32_t getSendEnable() const override { return values().sendEnable; }
    std::int32_t getMute() const override { return values().mute; }
    std::int32_t getSolo() const override { return values().solo; }
    std::int32_t getPan() const override { return values().pan; }
    std::int32_t getVol() const override { return values().vol; }
    IZRNodeList* getVstPluginList() const override { return vstList(); }

private:
    friend class TZRObject<CZRSEUnit, IZRSEUnit>;

    void dumpFields(std::wstring& out) const;
};
