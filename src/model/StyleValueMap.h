// Style values by attribute ID, kept in one array sorted by ID.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kor {

/// An ordered map from attribute ID to style value. A note carries a handful of style values, and
/// a song carries them for every note: one array for all of them, searched by halves, costs one
/// allocation where a tree costs one per value, and keeps them side by side in memory.
class StyleValueMap {
public:
    using value_type = std::pair<std::wstring, std::int32_t>;
    using const_iterator = std::vector<value_type>::const_iterator;

    StyleValueMap() = default;
    /// The values given; of two with one ID the first stays, as in an ordered map.
    StyleValueMap(std::initializer_list<value_type> values) {
        entries_.reserve(values.size());
        for (const value_type& value : values)
            if (!contains(value.first)) set(value.first, value.second);
    }

    const_iterator begin() const { return entries_.begin(); }
    const_iterator end() const { return entries_.end(); }
    std::size_t size() const { return entries_.size(); }
    bool empty() const { return entries_.empty(); }

    /// The entry of `id`, or end().
    const_iterator find(std::wstring_view id) const {
        const auto at = lowerBound(id);
        return at != entries_.end() && at->first == id ? at : entries_.end();
    }
    bool contains(std::wstring_view id) const { return find(id) != entries_.end(); }

    /// Sets the value of `id`, adding the ID in its place when it is new.
    void set(std::wstring_view id, std::int32_t value) {
        const auto at = lowerBound(id);
        if (at != entries_.end() && at->first == id)
            entries_[static_cast<std::size_t>(at - entries_.cbegin())].second = value;
        else
            entries_.emplace(at, std::wstring(id), value);
    }
    void clear() { entries_.clear(); }
    /// Room for `count` values in all, so that adding them one by one moves nothing.
    void reserve(std::size_t count) { entries_.reserve(count); }

private:
    const_iterator lowerBound(std::wstring_view id) const {
        return std::lower_bound(
            entries_.begin(), entries_.end(), id,
            [](const value_type& entry, std::wstring_view key) { return entry.first < key; });
    }

    std::vector<value_type> entries_;
};

} // namespace kor
