#include "formats/kor3/ReaderNode.h"

#include "formats/xml/XmlParser.h"
#include "model/ContainerOps.h"

#include <algorithm>
#include <vector>

namespace Kor3 {

void AZRKor3Node::startChild(const ZRXmlTag& tag) {
    if (state_ == State::New) state_ = begin() ? State::Begun : State::Inert;
    if (state_ == State::Inert) {
        adoptChild(nullptr);
    } else if (!startStructured(tag)) {
        valueRow_ = findValue(tag.name);
        if (valueRow_ != kNotAValue)
            startValueChild(tag);
        else
            adoptChild(nullptr);
    }
}

void AZRKor3Node::childEnded(AZRXmlNode& child) {
    if (const CZRSimpleXmlNode* value = child.asValue()) takeValue(valueRow_, *value);
}

void AZRKor3Node::endElement(const std::wstring& name) {
    if (!isOwnEnd(name)) return;
    if (state_ != State::Inert) finish();
    CZRComplexXmlNode::endElement(name);
}

CZRNodeList* AZRKor3Node::createList(ZRObjType listType, std::int32_t listTypeEx) {
    CZRNodeList* list = kor::createList(context(), listType, listTypeEx);
    if (list == nullptr) fail();
    return list;
}

bool AZRKor3Node::check(bool linked) {
    if (!linked) fail();
    return linked;
}

void AZRKor3Node::append(CZRNodeList* list, IZRMutableKorObject* obj) {
    check(list != nullptr && list->append(obj));
}

void sortList(CZRNodeList* list) {
    if (list == nullptr || list->getCount() < 2) return;
    const auto byKey = [](const IZRMutableKorObject* a, const IZRMutableKorObject* b) {
        return a->getSortKey() < b->getSortKey();
    };
    if (std::is_sorted(list->elements().begin(), list->elements().end(), byKey)) return;
    std::vector<IZRMutableKorObject*> elements = list->elements();
    std::stable_sort(elements.begin(), elements.end(), byKey);
    list->clear();
    for (IZRMutableKorObject* element : elements)
        (void)list->append(element);
}

} // namespace Kor3
