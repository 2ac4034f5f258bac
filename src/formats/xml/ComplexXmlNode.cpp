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

bool CZRComplexXmlNode::startValueChild(const ZRXmlTag& tag,
                                        std::span<const std::wstring_view> names) {
    for (std::wstring_view name : names) {
        if (tag.name != name) continue;
        if (childIsValue_) {
            static_cast<CZRSimpleXmlNode&>(*child_).restart(tag);
            parser()->setCurrentNode(child_.get());
        } else {
            adoptChild(std::make_unique<CZRSimpleXmlNode>(parser(), this, tag));
            childIsValue_ = true;
        }
        return true;
    }
    return false;
}
