#include "legacy/SectionMap.h"

CxEntryMap& CxSectionMap::open(std::wstring_view name) {
    auto it = sections_.lower_bound(name);
    if (it != sections_.end() && it->first == name) return *it->second;
    auto section = std::make_unique<CxEntryMap>(std::wstring(name));
    names_.emplace_back(name);
    try {
        it = sections_.emplace_hint(it, name, std::move(section));
    } catch (...) {
        names_.pop_back();
        throw;
    }
    return *it->second;
}

const CxEntryMap* CxSectionMap::find(std::wstring_view name) const {
    auto it = sections_.find(name);
    return it == sections_.end() ? nullptr : it->second.get();
}

CxEntryMap* CxSectionMap::find(std::wstring_view name) {
    auto it = sections_.find(name);
    return it == sections_.end() ? nullptr : it->second.get();
}

void CxSectionMap::clear() {
    sections_.clear();
    names_.clear();
}
