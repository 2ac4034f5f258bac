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
class CZRZRUnit final : public TZRChannelUnit<CZRZRUnit, IZRZRUnit, ZRZRUnitValues> {
public:
    static constexpr ZRObjType kType = ZRObjType::ZRUnit;
    static constexpr std::int32_t kMaxTrackNo = 15;

    static constexpr std::array kRules =
        kor::withFirst(kor::numberRule(&ZRZRUnitValues::trackNo, 0, kMaxTrackNo,
                                       ZR_E_INVALID_ZR_UNIT_ID, kor::Repair::Fail),
                       kor::channelRules<ZRZRUnitValues>(
                           {ZR_E_INVALID_ZR_UNIT_INPUT_GAIN, ZR_E_INVALID_ZR_UNIT_SEND_LEVEL,
                            ZR_E_INVALID_ZR_UNIT_SEND_SWITCH, ZR_E_INVALID_ZR_UNIT_SOLO,
                            ZR_E_INVALID_ZR_UNIT_PANPOT, ZR_E_INVALID_ZR_UNIT_VOLUME}));
    static constexpr std::array kVstLists{kor::VstListRule{2, ZR_E_INVALID_VST_PLUGIN_NUMBER}};

    using TZRChannelUnit::TZRChannelUnit;

    std::int32_t getTrackNo() const override { return values().trackNo; }
    std::int32_t getSortKey() const override { return values().trackNo; }

private:
    friend class TZRObject<CZRZRUnit, IZRZRUnit>;

    void dumpFields(std::wstring& out) const;
};
