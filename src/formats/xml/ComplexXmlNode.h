// The node of a structured element: it owns the node of its current child element.
#pragma once

#include "formats/xml/SimpleXmlNode.h"
#include "formats/xml/XmlNode.h"

#include <memory>

class CZRKorDocument;

/// A structured element. Owns its current child node (the last child element it knew), which
/// therefore lives until the next child starts or this element ends; the document it builds
/// into is borrowed. Format nodes derive from it: they pick the child node for each known child
/// name and take the children's values in childEnded. An element of a name the node does not
/// know gets no node of its own, so its children reach this node as if they were its own.
class CZRComplexXmlNode : public AZRXmlNode {
public:
    CZRComplexXmlNode(AZRXmlParser* parser, AZRXmlNode* parent, ZRXmlTag tag,
                      CZRKorDocument* document)
        : AZRXmlNode(parser, parent, std::move(tag))
        , document_(document) {}

    /// Makes the current child, if any, the parser's current node again.
    void startChild(const ZRXmlTag& tag) override;
    /// Drops the current child and returns to the parent; format nodes first check `name`.
    void endElement(const std::wstring& name) override;

protected:
    CZRKorDocument* document() const { return document_; }

    /// Replaces the current child by `child` (or by none) and makes it the parser's current node.
    void adoptChild(std::unique_ptr<AZRXmlNode> child);
    /// Starts a value child for `tag`.
    void startValueChild(const ZRXmlTag& tag);
    /// Starts a structured child node of class `Node` for `tag`.
    template <class Node, class... Args> void startNodeChild(const ZRXmlTag& tag, Args&&... args) {
        adoptChild(
            std::make_unique<Node>(parser(), this, tag, document_, std::forward<Args>(args)...));
    }
    /// True when this node's element ends with `name`: format nodes ignore other end tags,
    /// which belong to unknown elements inside them.
    bool isOwnEnd(const std::wstring& name) const { return name == tag().name; }

private:
    CZRKorDocument* document_;
    std::unique_ptr<AZRXmlNode> child_;
    // The current child is a value node, which the next value child may take over: a song has
    // many more value elements than structured ones.
    bool childIsValue_ = false;
};
