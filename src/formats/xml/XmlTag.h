// What an element node is made from: the element's local name and its attributes.
#pragma once

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
