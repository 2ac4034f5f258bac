// The node of a structured element that builds into a document.
#pragma once

#include "formats/xml/XmlNode.h"
#include "formats/xml/XmlParser.h"

#include <utility>

class CZRKorDocument;

/// A structured element whose node builds objects into a document, which is borrowed. Format
/// nodes derive from it: they start a node for each structured child they know and take the
/// values of the value children they know.
class CZRComplexXmlNode : public AZRXmlNode {
public:
    CZRComplexXmlNode(AZRXmlParser* parser, AZRXmlNode* parent, CZRKorDocument* document)
        : AZRXmlNode(parser, parent)
        , document_(document) {}

protected:
    CZRKorDocument* document() const { return document_; }

    /// Starts a node of class `Node` for the child element that is starting.
    template <class Node, class... Args> void startNodeChild(Args&&... args) {
        parser()->startNode<Node>(this, document_, std::forward<Args>(args)...);
    }

private:
    CZRKorDocument* document_;
};
