#include "formats/xml/ComplexXmlNode.h"

#include "formats/xml/XmlParser.h"

void CZRComplexXmlNode::startChild(const ZRXmlTag&) {
    if (child_ != nullptr) parser()->setCurrentNode(child_.get());
}

void CZRComplexXmlNode::endElement(const std::wstring&) {
    child_.reset();
    returnToParent();
}

void CZRComplexXmlNode::adoptChild(std::unique_ptr<AZRXmlNode> child) {
    child_ = std::move(child);
    childIsValue_ = false;
    if (child_ != nullptr) parser()->setCurrentNode(child_.get());
}

void CZRComplexXmlNode::startValueChild(const ZRXmlTag& tag) {
    if (childIsValue_) {
        static_cast<CZRSimpleXmlNode&>(*child_).restart(tag);
        parser()->setCurrentNode(child_.get());
    } else {
        adoptChild(std::make_unique<CZRSimpleXmlNode>(parser(), this, tag));
        childIsValue_ = true;
    }
}
