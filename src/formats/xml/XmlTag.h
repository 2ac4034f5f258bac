// What an element is to its reader: its local name and its attributes.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

/// An element as the reader saw it start: the local name (prefix and namespace play no part) and
/// the attributes as (local name, value) pairs in the order the XML reader reported them.
struct ZRXmlTag {
    std::wstring name;
    std::vector<std::pair<std::wstring, std::wstring>> attributes;

    /// The value of the first attribute called `attrName`, or null when there is none.
    const std::wstring* attribute(std::wstring_view attrName) const {
        for (const auto& [key, value] : attributes)
            if (key == attrName) return &value;
        return nullptr;
    }
};

/// An element as a song reader sees it start: its local name and attributes as views of the XML
/// reader's own UTF-16 text, so nothing is copied for an element that is passed over. The views
/// hold only while the start is handled.
struct ZRXmlStartTag {
    using Attribute = std::pair<std::u16string_view, std::u16string_view>;

    std::u16string_view name;
    std::span<const Attribute> attributes;

    /// The value of the first attribute called `attrName`; empty when there is none.
    std::u16string_view attribute(std::u16string_view attrName) const {
        for (const auto& [key, value] : attributes)
            if (key == attrName) return value;
        return {};
    }
};
