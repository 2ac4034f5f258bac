// What the four mixer units share: range rules over their levels, and plug-in lists with a
// limit on the number of plug-ins.
#pragma once

#include "model/ContainerOps.h"
#include "model/NodeList.h"
#include "model/ValueObject.h"

#include <array>
#include <cstdint>

namespace kor {

/// Levels and volumes: -898 (silence) to 60.
inline constexpr std::int32_t kMinLevel = -898;
inline constexpr std::int32_t kMaxLevel = 60;
/// Input gains.
inline constexpr std::int32_t kMinGain = -20;
inline constexpr std::int32_t kMaxGain = 20;
/// Pan: 0 to 128, 64 the centre.
inline constexpr std::int32_t kMaxPan = 128;

/// A unit's plug-in list: the most plug-ins it may hold and the code reported when it holds more.
struct VstListRule {
    std::uint32_t maxCount;
    std::uint32_t countCode;
};

/// The codes of the six checked fields of a channel (ZR or SE unit), in check order.
struct ChannelCodes {
    std::uint32_t inGain;
    std::uint32_t sendLevel;
    std::uint32_t sendEnable;
    std::uint32_t solo;
    std::uint32_t pan;
    std::uint32_t vol;
};

/// The rules of a channel record `V` (fields inGain, sendLevel, sendEnable, solo, pan, vol):
/// ranges clamped, except solo, which is only reported.
template <class V> constexpr std::array<FieldRule<V>, 6> channelRules(const ChannelCodes& codes) {
    return {numberRule(&V::inGain, kMinGain, kMaxGain, codes.inGain, Repair::Clamp),
            numberRule(&V::sendLevel, kMinLevel, kMaxLevel, codes.sendLevel, Repair::Clamp),
            numberRule(&V::sendEnable, 0, 1, codes.sendEnable, Repair::Clamp),
            numberRule(&V::solo, 0, 1, codes.solo, Repair::Leave),
            numberRule(&V::pan, 0, kMaxPan, codes.pan, Repair::Clamp),
            numberRule(&V::vol, kMinLevel, kMaxLevel, codes.vol, Repair::Clamp)};
}

/// `rules` with `first` checked before them.
template <class V, std::size_t N>
constexpr std::array<FieldRule<V>, N + 1> withFirst(const FieldRule<V>& first,
                                                    const std::array<FieldRule<V>, N>& rules) {
    std::array<FieldRule<V>, N + 1> all{first};
    for (std::size_t i = 0; i < N; ++i)
        all[i + 1] = rules[i];
    return all;
}

/// The check of one plug-in list (null passes): `rule.countCode` when it holds too many.
std::uint32_t checkVstList(const CZRNodeList* list, VstListRule rule);

/// The repair of one plug-in list (null passes): an element that is not a plug-in gives
/// "VST plugin is null" | kUnrepairable; when the list holds too many, its last plug-in is
/// removed and destroyed in `table` (one per call; a failed removal gives `rule.countCode` |
/// kUnrepairable). 1 when a plug-in was removed, else 0.
std::uint32_t repairVstList(CZRNodeList* list, VstListRule rule, CZRObjectTable& table);

} // namespace kor

/// A mixer unit whose values are the record `Values`, checked and repaired by `Derived::kRules`,
/// with `N` plug-in lists (list type 26) whose limits are `Derived::kVstLists`. The lists are its
/// children, in list order.
template <class Derived, class ReadInterface, class Values, std::size_t N = 1>
class TZRMixerUnit : public TZRValueObject<Derived, ReadInterface, Values> {
    using Base = TZRValueObject<Derived, ReadInterface, Values>;

public:
    using Base::Base;

    /// The plug-in list `which` (borrowed), or null.
    CZRNodeList* vstList(std::size_t which = 0) const { return lists_.at(which); }
    /// Links `list` (or nothing) as plug-in list `which`; the list it replaces is detached.
    [[nodiscard]] bool setVstList(std::size_t which, CZRNodeList* list) {
        return kor::setChildSlot(lists_.at(which), list, this);
    }

    /// The value rules, then the number of plug-ins of each list.
    std::uint32_t validate() const override {
        if (const std::uint32_t code = Base::validate(); code != 0) return code;
        for (std::size_t i = 0; i < N; ++i)
            if (const std::uint32_t code = kor::checkVstList(lists_[i], Derived::kVstLists[i]))
                return code;
        return 0;
    }

    /// Clamps the values, then trims over-full plug-in lists.
    std::uint32_t correct(CZRObjectTable& table, const ZRCreateContext& context) override {
        std::uint32_t result = Base::correct(table, context);
        if ((result & kor::kUnrepairable) != 0) return result;
        for (std::size_t i = 0; i < N; ++i) {
            const std::uint32_t listResult =
                kor::repairVstList(lists_[i], Derived::kVstLists[i], table);
            if ((listResult & kor::kUnrepairable) != 0) return listResult;
            result |= listResult;
        }
        return result;
    }

protected:
    friend class TZRObject<Derived, ReadInterface>;

    bool copyChildren(const Derived& source, std::uint32_t copyFlags,
                      const ZRCreateContext& context) {
        for (std::size_t i = 0; i < N; ++i)
            if (!kor::copyChildSlot(lists_[i], source.vstList(i), this, copyFlags, context))
                return false;
        return true;
    }

    template <class Self> static auto childFields(Self& self) { return std::tie(self.lists_); }

private:
    std::array<CZRNodeList*, N> lists_{};
};

/// A channel unit (ZR or SE unit): a mixer unit with one plug-in list whose record `Values`
/// carries inGain, sendLevel, sendEnable, mute, solo, pan and vol, read through `ReadInterface`.
template <class Derived, class ReadInterface, class Values>
class TZRChannelUnit : public TZRMixerUnit<Derived, ReadInterface, Values> {
    using Base = TZRMixerUnit<Derived, ReadInterface, Values>;

public:
    using Base::Base;

    std::int32_t getInGain() const override { return this->values().inGain; }
    std::int32_t getSendLevel() const override { return this->values().sendLevel; }
    std::int32_t getSendEnable() const override { return this->values().sendEnable; }
    std::int32_t getMute() const override { return this->values().mute; }
    std::int32_t getSolo() const override { return this->values().solo; }
    std::int32_t getPan() const override { return this->values().pan; }
    std::int32_t getVol() const override { return this->values().vol; }
    IZRNodeList* getVstPluginList() const override { return this->vstList(); }

protected:
    /// Appends the channel part of the dump line, from " inGain=" to the closing blank.
    void dumpChannel(std::wstring& out) const {
        const Values& v = this->values();
        kor::appendFormat(out,
                          L" inGain=%d sendLevel=%d sendEnable=%d mute=%d solo=%d pan=%d vol=%d ",
                          v.inGain, v.sendLevel, v.sendEnable, v.mute, v.solo, v.pan, v.vol);
    }
};
