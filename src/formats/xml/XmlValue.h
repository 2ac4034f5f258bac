// The value element a song reader is reading: a number or a name with its attributes.
#pragma once

#include "formats/xml/XmlTag.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

/// The text and attributes of one value element, gathered while it is open and handed to the node
/// that takes it when it ends. The parser keeps one and fills it for every value element, so its
/// buffers are reused from value to value.
class CZRXmlValue {
public:
    /// Begins the value of the element `tag`: its attributes are kept, its text is empty.
    void start(const ZRXmlStartTag& tag) {
        raw_.clear();
        textDone_ = false;
        attributeCount_ = 0;
        if (!tag.attributes.empty()) keepAttributes(tag);
    }
    /// Adds character data as the XML reader delivered it.
    void append(const char16_t* text, std::size_t length) {
        raw_.append(text, length);
        textDone_ = false;
    }

    /// The text as wide text, with white space removed at both ends and every "]]&gt;" turned back
    /// into "]]>" (a "]]>" cannot stand inside the CDATA section that holds a text value).
    const std::wstring& text() const;
    /// The text read as a decimal integer: white space skipped, optional sign, digits up to the
    /// first other character; 0 when there are no digits.
    int number() const;
    /// The value of the attribute `name`; empty when the element has none.
    const std::wstring& attribute(std::u16string_view name) const;

private:
    void keepAttributes(const ZRXmlStartTag& tag);

    std::u16string raw_;
    mutable std::wstring text_;
    mutable bool textDone_ = false;
    // The attributes of the element; only the first attributeCount_ are its own, the others keep
    // their storage for later values.
    std::vector<std::pair<std::u16string, std::wstring>> attributes_;
    std::size_t attributeCount_ = 0;
};
