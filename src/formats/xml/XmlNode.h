// Base of the nodes that follow the open elements of a document while it is read.
#pragma once

#include "formats/xml/XmlTag.h"

#include <string_view>

class AZRXmlParser;
class CZRXmlValue;

/// The node of one open element that a format knows. The parser hands a node the starts of its
/// child elements, the values it takes and the end of its own element. A node lives in the
/// parser's room for its element, from the element's start to its end; parser and parent are
/// borrowed.
class AZRXmlNode {
public:
    AZRXmlNode(AZRXmlParser* parser, AZRXmlNode* parent)
        : parser_(parser)
        , parent_(parent) {}
    virtual ~AZRXmlNode() = default;
    AZRXmlNode(const AZRXmlNode&) = delete;
    AZRXmlNode& operator=(const AZRXmlNode&) = delete;

    /// A child element starts. The node may start a node for it (which becomes the current node),
    /// answer true to take its value (takeValue, when it ends), or do neither: then the element
    /// is passed over, and its own children reach this node as if they were this node's.
    virtual bool startChild(const ZRXmlStartTag&) { return false; }
    /// The value element that startChild took has ended.
    virtual void takeValue(const CZRXmlValue&) {}
    /// The node's own element ends; the node is destroyed right after.
    virtual void endElement() {}

    AZRXmlParser* parser() const { return parser_; }
    AZRXmlNode* parent() const { return parent_; }
    /// The local name of the node's element, as the format's renaming left it.
    std::u16string_view name() const { return name_; }

private:
    friend class AZRXmlParser;

    AZRXmlParser* parser_;
    AZRXmlNode* parent_;
    std::u16string_view name_;
};
