#include "formats/xml/XmlNode.h"

#include "formats/xml/XmlParser.h"

void AZRXmlNode::startChild(const ZRXmlTag&) {}

void AZRXmlNode::endElement(const std::wstring&) { returnToParent(); }

void AZRXmlNode::setText(const std::wstring&) {}

void AZRXmlNode::childEnded(AZRXmlNode&) {}

void AZRXmlNode::returnToParent() {
    parser_->setCurrentNode(parent_);
    if (parent_ != nullptr) parent_->childEnded(*this);
}
