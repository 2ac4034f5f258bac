// The node of a value element: it keeps the element's text.
#pragma once

#include "formats/xml/XmlNode.h"

/// A value element such as a number or a name. Each piece of character data replaces the text
/// kept so far; the parent reads the text when the element ends.
class CZRSimpleXmlNode final : public AZRXmlNode {
public:
    using AZRXmlNode::AZRXmlNode;

    void setText(const std::wstring& text) override { text_ = text; }
    const CZRSimpleXmlNode* asValue() const override { return this; }

    const std::wstring& text() const { return text_; }
    /// Makes this node the node of a new value element `tag`, with no text yet.
    void restart(const ZRXmlTag& tag) {
        setTag(tag);
        text_.clear();
    }
    /// The text read as a decimal integer: white space skipped, optional sign, digits up to the
    /// first other character; 0 when there are no digits.
    int number() const;

private:
    std::wstring text_;
};
