// The description of one style attribute offered by a style plug-in.
#pragma once

#include "model/ValueObject.h"

#include <korman/ErrorCodes.h>
#include <korman/IZRStylePluginAttribInfo.h>

#include <array>
#include <string>
#include <vector>

/// Initial values of a style attribute description.
struct ZRStylePluginAttribInfoValues {
    std::wstring attribID;
    std::int32_t typeID = 0;
    ZRStyleAttribRange valueRange;
    ZRStyleAttribRange editRange;
    std::vector<ZRStyleAttribEntry> entries;
};

/// A style attribute description: ID, type, value and edit ranges and its entries. A leaf; the
/// repair changes nothing and reports a bad ID or type as unrepairable.
class CZRStylePluginAttribInfo final
    : public TZRValueObject<CZRStylePluginAttribInfo, IZRStylePluginAttribInfo,
                            ZRStylePluginAttribInfoValues> {
public:
    static constexpr ZRObjType kType = ZRObjType::StylePluginAttribInfo;

    static constexpr std::array kRules{
        kor::textRule(&ZRStylePluginAttribInfoValues::attribID, 1, 256,
                      ZR_E_INVALID_STYLE_PLUGIN_ATTRIBUTE_INFO_ID, kor::Repair::Fail),
        kor::numberRule(&ZRStylePluginAttribInfoValues::typeID, ZR_STYLE_ATTRIB_INTEGER,
                        ZR_STYLE_ATTRIB_CHOICE, ZR_E_INVALID_STYLE_PLUGIN_ATTRIBUTE_INFO_TYPE,
                        kor::Repair::Fail),
    };

    using TZRValueObject::TZRValueObject;

    const std::wstring& getAttribID() const override { return values().attribID; }
    std::int32_t getTypeID() const override { return values().typeID; }
    const ZRStyleAttribRange* getValueRange() const override { return &values().valueRange; }
    const ZRStyleAttribRange* getEditRange() const override { return &values().editRange; }
    std::uint32_t getEntryCount() const override {
        return static_cast<std::uint32_t>(values().entries.size());
    }
    const ZRStyleAttribEntry* getEntry(std::uint32_t index) const override {
        return index < values().entries.size() ? &values().entries[index] : nullptr;
    }

private:
    friend class TZRObject<CZRStylePluginAttribInfo, IZRStylePluginAttribInfo>;

    void dumpFields(std::wstring& out) const;
};
