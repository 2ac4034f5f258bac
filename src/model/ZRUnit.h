// The mixer unit of one singing track.
#pragma once

#include "model/MixerUnit.h"

#include <korman/ErrorCodes.h>
#include <korman/IZRZRUnit.h>

/// Initial values of a ZR unit.
struct ZRZRUnitValues {
    std::int32_t trackNo = 0;
    std::int32_t inGain = 0;
    std::int32_t sendLevel = 0;
    std::int32_t sendEnable = 0;
    std::int32_t mute = 0;
    std::int32_t solo = 0;
    std::int32_t pan = 0;
    std::int32_t vol = 0;
};

/// The channel of the ZR track with the same track number, kept in the mixer's ZR unit list
/// ordered by that number. A track number out of range cannot be repaired; solo is checked but
/// never repaired, mute is neither.
class CZRZRUnit final : public TZRMixerUnit<CZRZRUnit, IZRZRUnit, ZRZRUnitValues> {
public:
    static constexpr ZRObjType kType = ZRObjType::ZRUnit;
    static constexpr std::int32_t kMaxTrackNo = 15;

    static constexpr std::array kRules{
        kor::numberRule(&ZRZRUnitValues::trackNo, 0, kMaxTrackNo, ZR_E_INVALID_ZR_UNIT_ID,
                        kor::Repair::Fail),
        kor::numberRule(&ZRZRUnitValues::inGain, kor::kMinGain, kor::kMaxGain,
                        ZR_E_INVALID_ZR_UNIT_INPUT_GAIN, kor::Repair::Clamp),
        kor::numberRule(&ZRZRUnitValues::sendLevel, kor::kMinLevel, kor::kMaxLevel,
                        ZR_E_INVALID_ZR_UNIT_SEND_LEVEL, kor::Repair::Clamp),
        kor::numberRule(&ZRZRUnitValues::sendEnable, 0, 1, ZR_E_INVALID_ZR_UNIT_SEND_SWITCH,
                        kor::Repair::Clamp),
        kor::numberRule(&ZRZRUnitValues::solo, 0, 1, ZR_E_INVALID_ZR_UNIT_SOLO,
                        kor::Repair::Leave),
        kor::numberRule(&ZRZRUnitValues::pan, 0, kor::kMaxPan, ZR_E_INVALID_ZR_UNIT_PANPOT,
                        kor::Repair::Clamp),
        kor::numberRule(&ZRZRUnitValues::vol, kor::kMinLevel, kor::kMaxLevel,
                        ZR_E_INVALID_ZR_UNIT_VOLUME, kor::Repair::Clamp),
    };
    static constexpr std::array kVstLists{kor::VstListRule{2, ZR_E_INVALID_VST_PLUGIN_NUMBER}};

    using TZRMixerUnit::TZRMixerUnit;

    std::int32_t getTrackNo() const override { return values().trackNo; }
    std::int32_t getInGain() const override { return values().inGain; }
    std::int32_t getSendLevel() const override { return values().sendLevel; }
    std::int32_t getSendEnable() const override { return values().sendEnable; }
    std::int32_t getMute() const override { return values().mute; }
    std::int32_t getSolo() const override { return values().solo; }
    std::int32_t getPan() const override { return values().pan; }
    std::int32_t getVol() const override { return values().vol; }
    IZRNodeList* getVstPluginList() const override { return vstList(); }

    std::int32_t getSortKey() const override { return values().trackNo; }

private:
    friend class TZRObject<CZRZRUnit, IZRZRUnit>;

    void dumpFields(std::wstring& out) const;
};
