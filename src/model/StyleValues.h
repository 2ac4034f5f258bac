// The shared form of the note style and the part style: style values by attribute ID.
#pragma once

#include "model/ContainerOps.h"
#include "model/ObjectBase.h"
#include "model/StyleValueMap.h"

#include <string>
#include <string_view>
#include <vector>

/// Base of the classes that are an ordered map from attribute ID (1 to 256 characters) to a
/// value. An ID outside that length makes validate report `kBadID` and correct report it as
/// unrepairable. Copy and exchange take the whole map; there are no children.
template <class Derived, class ReadInterface, std::uint32_t kBadID>
class TZRStyleValues : public TZRObject<Derived, ReadInterface> {
public:
    static constexpr std::size_t kMaxIDLength = 256;
    using ValueMap = kor::StyleValueMap;

    explicit TZRStyleValues(std::uint32_t objID, ValueMap values = {})
        : TZRObject<Derived, ReadInterface>(objID)
        , values_(std::move(values)) {}

    bool getValue(const std::wstring& id, std::int32_t& value) const override {
        const std::int32_t* held = values_.find(id);
        if (held == nullptr) return false;
        value = *held;
        return true;
    }
    void getIDs(std::vector<std::wstring>& ids) const override {
        ids.clear();
        for (const auto& [id, value] : values_)
            ids.push_back(id);
    }

    const ValueMap& values() const { return values_; }
    bool hasValue(std::wstring_view id) const { return values_.contains(id); }
    void setValue(std::wstring_view id, std::int32_t value) { values_.set(id, value); }
    void clearValues() { values_.clear(); }
    void reserveValues(std::size_t count) { values_.reserve(count); }

    std::uint32_t validate() const override {
        for (const auto& [id, value] : values_)
            if (id.empty() || id.size() > kMaxIDLength) return kBadID;
        return 0;
    }
    std::uint32_t correct(CZRObjectTable&, const ZRCreateContext&) override {
        return kor::unrepairable(validate());
    }

protected:
    friend class TZRObject<Derived, ReadInterface>;

    void copyValues(const Derived& source) { values_ = source.values_; }
    void swapValues(Derived& other) { values_.swap(other.values_); }
    void dumpFields(std::wstring& out) const {
        for (const auto& [id, value] : values_)
            kor::appendFormat(out, L" id=%ls val=%d ", id.c_str(), value);
    }

private:
    ValueMap values_;
};
