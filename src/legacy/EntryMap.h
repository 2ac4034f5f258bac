// One section of INI-like text: its name and its entries in order of first appearance.
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

/// A named section of key = value entries. Keys are case-sensitive; a key set again keeps its
/// place in the key order and takes the new value. Owned by its CxSectionMap.
class CxEntryMap {
public:
    explicit CxEntryMap(std::wstring name)
        : name_(std::move(name)) {}
    CxEntryMap(const CxEntryMap&) = default;
    CxEntryMap& operator=(const CxEntryMap&) = default;
    CxEntryMap(CxEntryMap&&) = default;
    CxEntryMap& operator=(CxEntryMap&&) = default;

    const std::wstring& name() const { return name_; }

    /// Sets the value of `key`; a new key goes to the end of the key order.
    void set(std::wstring_view key, std::wstring value);

    /// The value of `key`, or null when the section has no such key. Borrowed.
    const std::wstring* find(std::wstring_view key) const;

    /// The value of `key`, or the empty string when the section has no such key.
    std::wstring value(std::wstring_view key) const;

    /// The keys in order of first appearance.
    const std::vector<std::wstring>& keys() const { return keys_; }

    std::size_t size() const { return keys_.size(); }
    bool empty() const { return keys_.empty(); }

private:
    std::wstring name_;
    std::map<std::wstring, std::wstring, std::less<>> values_;
    std::vector<std::wstring> keys_;
};
