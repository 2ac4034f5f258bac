// The sections of INI-like text by name, in order of first appearance.
#pragma once

#include "legacy/EntryMap.h"

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

/// The sections of one document. Names are case-sensitive; a section opened again is the same
/// section, so later entries add to it. Owns its sections; pointers to them stay valid until the
/// map is cleared or destroyed.
class CxSectionMap {
public:
    CxSectionMap() = default;
    CxSectionMap(const CxSectionMap&) = delete;
    CxSectionMap& operator=(const CxSectionMap&) = delete;
    CxSectionMap(CxSectionMap&&) = default;
    CxSectionMap& operator=(CxSectionMap&&) = default;

    /// The section called `name`, created at the end of the section order when new. Throws
    /// std::bad_alloc when it cannot be created.
    CxEntryMap& open(std::wstring_view name);

    /// The section called `name`, or null. Borrowed.
    const CxEntryMap* find(std::wstring_view name) const;
    CxEntryMap* find(std::wstring_view name);

    /// The section names in order of first appearance.
    const std::vector<std::wstring>& names() const { return names_; }

    std::size_t size() const { return names_.size(); }
    void clear();

private:
    std::map<std::wstring, std::unique_ptr<CxEntryMap>, std::less<>> sections_;
    std::vector<std::wstring> names_;
};
