// Base of the nodes that follow the open elements of a document while it is read.
#pragma once

#include "formats/xml/XmlTag.h"

#include <string>

class AZRXmlParser;
class CZRSimpleXmlNode;

/// One open element that a format knows. The parser hands each node the events of its element:
/// child starts, character data and the end tag. A node is owned by its parent node (the root
/// node by the parser); parser and parent are borrowed. The base reacts to nothing but the end,
/// where it hands the parser back to its parent and tells the parent that it ended.
class AZRXmlNode {
public:
    AZRXmlNode(AZRXmlParser* parser, AZRXmlNode* parent, ZRXmlTag tag)
        : parser_(parser), parent_(parent), tag_(std::move(tag)) {}
    virtual ~AZRXmlNode() = default;
    AZRXmlNode(const AZRXmlNode&) = delete;
    AZRXmlNode& operator=(const AZRXmlNode&) = delete;

    /// A child element of this node's element starts.
    virtual void startChild(const ZRXmlTag& tag);
    /// An element ends while this node is current; `name` is its local name, not checked here.
    virtual void endElement(const std::wstring& name);
    /// Character data arrived while this node is current.
    virtual void setText(const std::wstring& text);
    /// A child node has ended; the node takes its value.
    virtual void childEnded(AZRXmlNode& child);
    /// This node as a value node, or null when it is a structured one.
    virtual const CZRSimpleXmlNode* asValue() const { return nullptr; }

    AZRXmlParser* parser() const { return parser_; }
    AZRXmlNode* parent() const { return parent_; }
    const ZRXmlTag& tag() const { return tag_; }

protected:
    /// Makes the parent the parser's current node (none for the root) and calls its childEnded.
    void returnToParent();
    void setTag(const ZRXmlTag& tag) { tag_ = tag; }

private:
    AZRXmlParser* parser_;
    AZRXmlNode* parent_;
    ZRXmlTag tag_;
};
