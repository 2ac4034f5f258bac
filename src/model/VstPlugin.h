// A VST plug-in slot of a mixer unit.
#pragma once

#include "model/ValueObject.h"

#include <korman/ErrorCodes.h>
#include <korman/IZRVstPlugin.h>

#include <array>
#include <string>
#include <vector>

/// Initial values of a VST plug-in slot; `paramNum` must equal the number of `values`.
struct ZRVstPluginValues {
    std::wstring id;
    std::wstring name;
    std::int32_t sdkVersion = 0;
    std::int32_t paramNum = 0;
    std::int32_t presetNo = 0;
    std::int32_t enable = 0;
    std::int32_t bypass = 0;
    std::int32_t valid = 0;
    std::vector<std::int32_t> values;

    bool operator==(const ZRVstPluginValues&) const = default;
};

/// A plug-in slot in a unit's plug-in list. The lists keep slots in the order they were
/// added, so the sort key (the length of the ID) orders nothing.
class CZRVstPlugin final : public TZRValueObject<CZRVstPlugin, IZRVstPlugin, ZRVstPluginValues> {
public:
    static constexpr ZRObjType kType = ZRObjType::VstPlugin;
    static constexpr std::int32_t kMaxSDKVersion = 3;
    static constexpr std::int32_t kMinIDLength = 4;
    static constexpr std::int32_t kMaxIDLength = 36;
    /// The longest name a song file keeps.
    static constexpr std::size_t kMaxNameLength = 256;
    /// The most values the repair grows a slot to; a larger count (from a damaged file) stays
    /// unrepairable rather than allocating gigabytes.
    static constexpr std::int32_t kMaxRepairedParams = 1 << 16;
    /// The ID of an empty slot.
    static constexpr const wchar_t* kEmptyID = L"    ";

    static constexpr std::array kRules{
        kor::numberRule(&ZRVstPluginValues::sdkVersion, 0, kMaxSDKVersion,
                        ZR_E_INVALID_VST_PLUGIN_SDK_VERSION, kor::Repair::Leave),
        kor::textRule(&ZRVstPluginValues::id, kMinIDLength, kMaxIDLength,
                      ZR_E_INVALID_VST_PLUGIN_ID, kor::Repair::Leave),
    };

    using TZRValueObject::TZRValueObject;

    const std::wstring& getID() const override { return values().id; }
    const std::wstring& getName() const override { return values().name; }
    std::int32_t getSDKVersion() const override { return values().sdkVersion; }
    std::int32_t getParamNum() const override { return values().paramNum; }
    std::int32_t getParamValue(std::uint32_t index) const override;
    std::int32_t getPresetNo() const override { return values().presetNo; }
    std::int32_t getEnable() const override { return values().enable; }
    std::int32_t getBypass() const override { return values().bypass; }
    std::int32_t getValid() const override { return values().valid; }

    /// The values of an empty slot: ID of four blanks, no name, all numbers 0, no values.
    static ZRVstPluginValues emptySlot();
    /// Turns the slot into an empty slot.
    void resetToEmptySlot() { setValues(emptySlot()); }
    /// Replaces the parameter values; `paramNum` follows their number.
    void setParamValues(std::vector<std::int32_t> values);

    /// SDK version, then ID, then the number of values against `paramNum`.
    std::uint32_t validate() const override;
    /// A slot with SDK version 0 or above 3, or a bad ID, becomes an empty slot; values are
    /// resized to `paramNum` (new ones 0), which clears `valid`; a negative or huge `paramNum`
    /// stays unrepairable.
    std::uint32_t correct(CZRObjectTable& table, const ZRCreateContext& context) override;
    std::int32_t getSortKey() const override {
        return static_cast<std::int32_t>(values().id.size());
    }

private:
    friend class TZRObject<CZRVstPlugin, IZRVstPlugin>;

    void dumpFields(std::wstring& out) const;
};
