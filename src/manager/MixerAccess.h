// The mixer of a manager's current song, read and set outside the editor.
#pragma once

#include "model/KaraokeUnit.h"
#include "model/MasterUnit.h"
#include "model/SEUnit.h"
#include "model/VstPlugin.h"
#include "model/ZRUnit.h"

#include <cstdint>
#include <limits>
#include <type_traits>
#include <utility>
#include <vector>

class CZRKorManagerImpl;

namespace kor {

/// The value record of the mixer unit class `Unit`.
template <class Unit>
using UnitValuesOf = std::remove_cvref_t<decltype(std::declval<const Unit&>().values())>;

/// One value of a mixer unit of class `Unit` as the mixer methods see it: its name in messages,
/// its field, the values a setter accepts and whether it is an on/off switch, which stores any
/// non-zero value as 1. A value refused is reported with the code of the unit's own rule for the
/// field.
template <class Unit> struct MixerValue {
    const wchar_t* what;
    std::int32_t UnitValuesOf<Unit>::*field;
    std::int32_t min;
    std::int32_t max;
    bool onOff = false;
};

/// The lower end of a value a setter takes as given (kNoLimit is the upper end).
inline constexpr std::int32_t kNoLowerLimit = std::numeric_limits<std::int32_t>::min();

// The member table of the mixer methods. Mute and the send switch take any value; the send switch,
// which the unit's own check (and so a save) holds to 0 or 1, keeps any non-zero value as 1.

struct MasterUnitMembers {
    static constexpr MixerValue<CZRMasterUnit> outDev{L"Output device", &ZRMasterUnitValues::outDev,
                                                      -1, kNoLimit};
    static constexpr MixerValue<CZRMasterUnit> vol{L"Master volume", &ZRMasterUnitValues::vol,
                                                   kMinLevel, kMaxLevel};
    static constexpr MixerValue<CZRMasterUnit> srRetLevel{
        L"Send-return level", &ZRMasterUnitValues::srRetLevel, kMinLevel, kMaxLevel};
};

/// The members of a channel unit (ZR or SE unit) of class `Unit`.
template <class Unit> struct ChannelUnitMembers {
    using Values = UnitValuesOf<Unit>;
    static constexpr MixerValue<Unit> inGain{L"Input gain", &Values::inGain, kMinGain, kMaxGain};
    static constexpr MixerValue<Unit> sendLevel{L"Send level", &Values::sendLevel, kMinLevel,
                                                kMaxLevel};
    static constexpr MixerValue<Unit> sendEnable{L"Send switch", &Values::sendEnable, kNoLowerLimit,
                                                 kNoLimit, true};
    static constexpr MixerValue<Unit> mute{L"Mute", &Values::mute, kNoLowerLimit, kNoLimit};
    static constexpr MixerValue<Unit> solo{L"Solo", &Values::solo, 0, 1};
    static constexpr MixerValue<Unit> pan{L"Pan", &Values::pan, 0, kMaxPan};
    static constexpr MixerValue<Unit> vol{L"Volume", &Values::vol, kMinLevel, kMaxLevel};
};
using ZRUnitMembers = ChannelUnitMembers<CZRZRUnit>;
using SEUnitMembers = ChannelUnitMembers<CZRSEUnit>;

struct KaraokeUnitMembers {
    using Values = ZRKaraokeUnitValues;
    static constexpr MixerValue<CZRKaraokeUnit> inGain{L"Input gain", &Values::inGain, kMinGain,
                                                       kMaxGain};
    static constexpr MixerValue<CZRKaraokeUnit> mute{L"Mute", &Values::mute, kNoLowerLimit,
                                                     kNoLimit};
    static constexpr MixerValue<CZRKaraokeUnit> solo{L"Solo", &Values::solo, 0, 1};
    static constexpr MixerValue<CZRKaraokeUnit> vol{L"Volume", &Values::vol, kMinLevel, kMaxLevel};
};

/// Writes `member` of a unit of the current song's mixer into `value` and returns 1; the ZR unit
/// is the one at `position` in the mixer's ZR unit list, the other units have no address. 0,
/// leaving `value`, when the song, its mixer or the unit is missing: ZR_E_NO_SEQUENCE,
/// ZR_E_NO_MIXER, ZR_E_INVALID_ZR_UNIT_ID (a position past the list), or the unit's own "Invalid
/// ... unit." code.
template <class Unit>
int getMixerValue(CZRKorManagerImpl& manager, const MixerValue<Unit>& member,
                  std::uint32_t position, int& value);
/// Stores `value` (a switch: 0 or 1) in `member` of the unit (addressed as by getMixerValue), also
/// in the copies of the unit the commit history holds, marks the mixer modified and returns 1. 0,
/// changing nothing, when the value is not accepted (the code of the unit's rule for the field,
/// naming the value and its range), the unit is missing (as getMixerValue), or memory runs short
/// (ZR_E_NOT_ENOUGH_MEMORY).
template <class Unit>
int setMixerValue(CZRKorManagerImpl& manager, const MixerValue<Unit>& member,
                  std::uint32_t position, int value);

/// The unit whose plug-in list a plug-in method addresses.
enum class VstUnit { Master, MasterSendReturn, ZR, SE, Karaoke };

/// One plug-in slot: the unit, the ZR unit's position (ZR units only) and the slot, 0 or 1 (the
/// master unit's send-return list has slot 0 only).
struct VstSlot {
    VstUnit unit;
    std::uint32_t zrUnit;
    std::int32_t slot;
};

// Each plug-in call below that fails reports why: the unit as getMixerValue does;
// ZR_E_INVALID_VST_PLUGIN_NUMBER (ZR_E_INVALID_SEND_RETURN_VST_PLUGIN_NUMBER for the send-return
// slot) for a slot number out of range; ZR_E_VST_PLUGIN_IS_NULL for a slot without a (valid)
// plug-in; ZR_E_NOT_ENOUGH_MEMORY when the change cannot be carried to the commit history's
// copies.

/// The plug-in in `at` (borrowed); null when the slot is empty, holds the empty-slot placeholder,
/// or the song, mixer, unit or list is missing.
IZRVstPlugin* getVstPlugin(CZRKorManagerImpl& manager, VstSlot at);
/// Puts a new valid plug-in with `id`, `name` and `sdkVersion` into `at`, replacing the plug-in
/// there; slot 1 of an empty list gets a placeholder in slot 0 first. The commit history's copies
/// of the list follow; when they cannot, the slot is emptied again and the result is null. The
/// new plug-in (borrowed), or null when the slot cannot be addressed (ZR unit positions from 16
/// never can), `id` or `name` is null (ZR_E_INVALID_PARAMETER), `id` holds fewer than 4 or more
/// than 36 characters (ZR_E_INVALID_VST_PLUGIN_ID) or `sdkVersion` is out of range
/// (ZR_E_INVALID_VST_PLUGIN_SDK_VERSION).
IZRVstPlugin* createVstPlugin(CZRKorManagerImpl& manager, VstSlot at, const wchar_t* id,
                              const wchar_t* name, int sdkVersion);
/// Turns the plug-in in `at` into the empty-slot placeholder where it stands; 1, or 0 when the
/// slot holds nothing.
int removeVstPlugin(CZRKorManagerImpl& manager, VstSlot at);
/// Replaces the parameter values of the valid plug-in in `at` (its parameter count follows); 1,
/// or 0 when the slot holds no valid plug-in.
int setVstPluginParams(CZRKorManagerImpl& manager, VstSlot at, const std::vector<int>& values);
/// Stores `value` unchecked in `field` (preset, enable or bypass) of the valid plug-in in `at`;
/// 1, or 0 when the slot holds no valid plug-in.
int setVstPluginNumber(CZRKorManagerImpl& manager, VstSlot at,
                       std::int32_t ZRVstPluginValues::*field, int value);

} // namespace kor
