// The mixer unit of the backing (karaoke) audio track.
#pragma once

#include "model/MixerUnit.h"

#include <korman/ErrorCodes.h>
#include <korman/IZRKaraokeUnit.h>

/// Initial values of a karaoke unit.
struct ZRKaraokeUnitValues {
    std::int32_t inGain = 0;
    std::int32_t mute = 0;
    std::int32_t solo = 0;
    std::int32_t vol = 0;
};

/// The channel of the backing track. Solo is checked but never repaired, mute is neither.
class CZRKaraokeUnit final
    : public TZRMixerUnit<CZRKaraokeUnit, IZRKaraokeUnit, ZRKaraokeUnitValues> {
public:
    static constexpr ZRObjType kType = ZRObjType::KaraokeUnit;

    static constexpr std::array kRules{
        kor::numberRule(&ZRKaraokeUnitValues::inGain, kor::kMinGain, kor::kMaxGain,
                        ZR_E_INVALID_BACKING_UNIT_INPUT_GAIN, kor::Repair::Clamp),
        kor::numberRule(&ZRKaraokeUnitValues::solo, 0, 1, ZR_E_INVALID_BACKING_UNIT_SOLO,
                        kor::Repair::Leave),
        kor::numberRule(&ZRKaraokeUnitValues::vol, kor::kMinLevel, kor::kMaxLevel,
                        ZR_E_INVALID_BACKING_UNIT_VOLUME, kor::Repair::Clamp),
    };
    static constexpr std::array kVstLists{kor::VstListRule{2, ZR_E_INVALID_VST_PLUGIN_NUMBER}};

    using TZRMixerUnit::TZRMixerUnit;

    std::int32_t getInGain() const override { return values().inGain; }
    std::int32_t getMute() const override { return values().mute; }
    std::int32_t getSolo() const override { return values().solo; }
    std::int32_t getVol() const override { return values().vol; }
    IZRNodeList* getVstPluginList() const override { return vstList(); }

private:
    friend class TZRObject<CZRKaraokeUnit, IZRKaraokeUnit>;

    void dumpFields(std::wstring& out) const;
};
