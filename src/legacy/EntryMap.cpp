#include "legacy/EntryMap.h"

void CxEntryMap::set(std::wstring_view key, std::wstring value) {
    auto it = values_.lower_bound(key);
    if (it != values_.end() && it->first == key) {
        it->second = std::move(value);
        return;
    }
    // Grow the key list first: if that throws, the map is still untouched and both agree.
    keys_.emplace_back(key);
    try {
        values_.emplace_hint(it, key, std::move(value));
    } catch (...) {
        keys_.pop_back();
        throw;
    }
}

const std::wstring* CxEntryMap::find(std::wstring_view key) const {
    auto it = values_.find(key);
    return it == values_.end() ? nullptr : &it->second;
}

std::wstring CxEntryMap::value(std::wstring_view key) const {
    const std::wstring* found = find(key);
    return found ? *found : std::wstring();
}
