// The master unit of the mixer.
#pragma once

#include "model/MixerUnit.h"

#include <korman/ErrorCodes.h>
#include <korman/IZRMasterUnit.h>

/// Initial values of a master unit.
struct ZRMasterUnitValues {
    std::int32_t outDev = 0;
    std::int32_t vol = 0;
    std::int32_t srRetLevel = 0;
};

/// The master output of the mixer, with the insert plug-in list (at most 2) and the send-return
/// plug-in list (at most 1).
class CZRMasterUnit final
    : public TZRMixerUnit<CZRMasterUnit, IZRMasterUnit, ZRMasterUnitValues, 2> {
public:
    static constexpr ZRObjType kType = ZRObjType::MasterUnit;
    static constexpr std::size_t kInsertList = 0;
    static constexpr std::size_t kSendReturnList = 1;

    // An output device below -1 is repaired to 0, not to -1.
    static constexpr std::array kRules{
        kor::numberRule(&ZRMasterUnitValues::outDev, -1, kor::kNoLimit,
                        ZR_E_INVALID_MASTER_UNIT_OUTPUT_DEVICE_ID, kor::Repair::Reset, 0),
        kor::numberRule(&ZRMasterUnitValues::srRetLevel, kor::kMinLevel, kor::kMaxLevel,
                        ZR_E_INVALID_MASTER_UNIT_RETURN_LEVEL, kor::Repair::Clamp),
        kor::numberRule(&ZRMasterUnitValues::vol, kor::kMinLevel, kor::kMaxLevel,
                        ZR_E_INVALID_MASTER_UNIT_VOLUME, kor::Repair::Clamp),
    };
    static constexpr std::array kVstLists{
        kor::VstListRule{2, ZR_E_INVALID_VST_PLUGIN_NUMBER},
        kor::VstListRule{1, ZR_E_INVALID_SEND_RETURN_VST_PLUGIN_NUMBER},
    };

    using TZRMixerUnit::TZRMixerUnit;

    std::int32_t getOutDev() const override { return values().outDev; }
    std::int32_t getVol() const override { return values().vol; }
    std::int32_t getSrRetLevel() const override { return values().srRetLevel; }
    IZRNodeList* getVstPluginList() const override { return vstList(kInsertList); }
    IZRNodeList* getVstPluginSrList() const override { return vstList(kSendReturnList); }

private:
    friend class TZRObject<CZRMasterUnit, IZRMasterUnit>;

    void dumpFields(std::wstring& out) const;
};
