#include "formats/kor3/ReaderNode.h"

#include "formats/xml/XmlParser.h"
#include "model/ContainerOps.h"

#include <algorithm>
#include <vector>

namespace Kor3 {

bool AZRKor3Node::startChild(const ZRXmlStartTag& tag) {
    if (state_ == State::New) state_ = begin() ? State::Begun : State::Inert;
    if (state_ == State::Inert || startStructured(tag)) return false;
    valueRow_ = findValue(tag.name);
    return valueRow_ != kNotAValue;
}

void AZRKor3Node::takeValue(const CZRXmlValue& value) {
    takeRowValue(valueRow_, value);
}

void AZRKor3Node::endElement() {
    if (state_ != State::Inert) finish();
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
