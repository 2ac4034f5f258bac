// The description of one style attribute offered by a style plug-in.
#pragma once

#include "model/ObjectBase.h"

#include <korman/IZRStylePluginAttribInfo.h>

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

/// A style attribute description: ID, type, value and edit ranges and its entries. A leaf.
class CZRStylePluginAttribInfo final
    : public TZRObject<CZRStylePluginAttribInfo, IZRStylePluginAttribInfo> {
public:
    static constexpr ZRObjType kType = ZRObjType::StylePluginAttribInfo;
    static constexpr std::size_t kMaxIDLength = 256;

    explicit CZRStylePluginAttribInfo(std::uint32_t objID,
                                      ZRStylePluginAttribInfoValues values = {})
        : TZRObject(objID), values_(std::move(values)) {}

    const std::wstring& getAttribID() const override { return values_.attribID; }
    std::int32_t getTypeID() const override { return values_.typeID; }
    const ZRStyleAttribRange* getValueRange() const override { return &values_.valueRange; }
    const ZRStyleAttribRange* getEditRange() const override { return &values_.editRange; }
    std::uint32_t getEntryCount() const override {
        return static_cast<std::uint32_t>(values_.entries.size());
    }
    const ZRStyleAttribEntry* getEntry(std::uint32_t index) const override {
        return index < values_.entries.size() ? &values_.entries[index] : nullptr;
    }

    const ZRStylePluginAttribInfoValues& values() const { return values_; }
    void setValues(ZRStylePluginAttribInfoValues values) { values_ = std::move(values); }

    /// The ID, then the type.
    std::uint32_t validate() const override;
    /// Changes nothing: reports the faults of validate as unrepairable.
    std::uint32_t correct(CZRObjectTable& table, const ZRCreateContext& context) override;

private:
    friend class TZRObject<CZRStylePluginAttribInfo, IZRStylePluginAttribInfo>;

    void copyValues(const CZRStylePluginAttribInfo& source) { values_ = source.values_; }
    void swapValues(CZRStylePluginAttribInfo& other) { std::swap(values_, other.values_); }
    void dumpFields(std::wstring& out) const;

    ZRStylePluginAttribInfoValues values_;
};
