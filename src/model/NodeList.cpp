#include "model/NodeList.h"

#include "model/ObjectTable.h"

#include <algorithm>

void CZRNodeList::setListType(std::int32_t listType, std::int32_t listTypeEx) {
    listType_ = listType;
    listTypeEx_ = listTypeEx;
}

namespace {

// Lists up to this long grow one element at a time. Most lists of a song are a note's curves of a
// few points: growing them by one takes as many allocations as doubling would up to four
// elements, and leaves no unused room in each of the song's hundreds of thousands of lists.
constexpr std::size_t kExactGrowthLimit = 4;

void makeRoomForOne(std::vector<IZRMutableKorObject*>& elements) {
    if (elements.size() == elements.capacity() && elements.size() < kExactGrowthLimit)
        elements.reserve(elements.size() + 1);
}

} // namespace

bool CZRNodeList::insertSorted(IZRMutableKorObject* obj) {
    if (obj == nullptr) return false;
    makeRoomForOne(elements_);
    const std::int32_t key = obj->getSortKey();
    const auto at = std::partition_point(elements_.begin(), elements_.end(),
                                         [key](const auto* e) { return e->getSortKey() < key; });
    if (at != elements_.end() && *at == obj) return false;
    const auto inserted = elements_.insert(at, obj);
    if (!obj->setParent(this)) {
        elements_.erase(inserted);
        return false;
    }
    return true;
}

bool CZRNodeList::append(IZRMutableKorObject* obj) {
    if (obj == nullptr) return false;
    makeRoomForOne(elements_);
    elements_.push_back(obj);
    if (!obj->setParent(this)) {
        elements_.pop_back();
        return false;
    }
    return true;
}

bool CZRNodeList::replaceAt(std::uint32_t index, IZRMutableKorObject* obj, CZRObjectTable* table) {
    if (obj == nullptr || index >= elements_.size()) return false;
    IZRMutableKorObject* old = elements_[index];
    if (old == obj) return true;
    if (!obj->setParent(this)) return false;
    old->setParent(nullptr);
    elements_[index] = obj;
    if (table != nullptr) table->destroy(old->getObjID());
    return true;
}

bool CZRNodeList::removeByID(std::uint32_t objID) {
    const auto at = std::find_if(elements_.begin(), elements_.end(),
                                 [objID](const auto* e) { return e->getObjID() == objID; });
    if (at == elements_.end()) return false;
    (*at)->setParent(nullptr);
    elements_.erase(at);
    return true;
}

void CZRNodeList::clear() {
    for (IZRMutableKorObject* e : elements_)
        e->setParent(nullptr);
    elements_.clear();
}

IZRMutableKorObject* CZRNodeList::findByKey(std::int32_t key) const {
    const auto at = std::find_if(elements_.begin(), elements_.end(),
                                 [key](const auto* e) { return e->getSortKey() == key; });
    return at != elements_.end() ? *at : nullptr;
}

std::uint32_t CZRNodeList::getSize() const {
    return static_cast<std::uint32_t>(sizeof(CZRNodeList) +
                                      elements_.size() * sizeof(IZRMutableKorObject*));
}

void CZRNodeList::copyValues(const CZRNodeList& source) {
    listType_ = source.listType_;
    listTypeEx_ = source.listTypeEx_;
}

void CZRNodeList::swapValues(CZRNodeList& other) {
    std::swap(listType_, other.listType_);
    std::swap(listTypeEx_, other.listTypeEx_);
}

// The copy stops at the first element that cannot be created or copied: the half-made element is
// destroyed rather than left unlinked in the table, and the elements copied before it stay.
bool CZRNodeList::copyChildren(const CZRNodeList& source, std::uint32_t copyFlags,
                               const ZRCreateContext& context) {
    clear();
    elements_.reserve(source.elements_.size());
    for (const IZRMutableKorObject* element : source.elements_) {
        IZRMutableKorObject* copy = element->cloneInto(context, copyFlags);
        if (copy == nullptr) return false;
        if (!append(copy)) {
            context.registry.destroy(copy->getObjID());
            return false;
        }
    }
    return true;
}

void CZRNodeList::dumpFields(std::wstring& out) const {
    kor::appendFormat(out, L" listType=%d listTypeEx=%d ", listType_, listTypeEx_);
}

void CZRNodeList::sortByKey() {
    std::sort(elements_.begin(), elements_.end(),
              [](const auto* a, const auto* b) { return a->getSortKey() < b->getSortKey(); });
}

std::uint32_t CZRNodeList::indexOf(const IZRMutableKorObject* obj,
                                   std::uint32_t hint) const noexcept {
    const auto count = static_cast<std::uint32_t>(elements_.size());
    if (hint < count && elements_[hint] == obj) return hint;
    const std::int32_t key = obj->getSortKey();
    auto at = std::partition_point(elements_.begin(), elements_.end(),
                                   [key](const auto* e) { return e->getSortKey() < key; });
    for (; at != elements_.end() && (*at)->getSortKey() == key; ++at)
        if (*at == obj) return static_cast<std::uint32_t>(at - elements_.begin());
    // An unsorted list (only ever a passing state of a copy) is searched in full.
    return static_cast<std::uint32_t>(std::find(elements_.begin(), elements_.end(), obj) -
                                      elements_.begin());
}

std::uint32_t CZRNodeList::sortedPlace(std::uint32_t index) const noexcept {
    if (index >= elements_.size()) return index;
    const std::int32_t key = elements_[index]->getSortKey();
    const auto below = [key](const auto* e) { return e->getSortKey() < key; };
    const auto at = elements_.begin() + index;
    if (index > 0 && key < elements_[index - 1]->getSortKey())
        return static_cast<std::uint32_t>(std::partition_point(elements_.begin(), at, below) -
                                          elements_.begin());
    if (index + 1 < elements_.size() && elements_[index + 1]->getSortKey() < key)
        return static_cast<std::uint32_t>(std::partition_point(at + 1, elements_.end(), below) -
                                          elements_.begin() - 1);
    return index;
}

void CZRNodeList::moveElement(std::uint32_t from, std::uint32_t to) noexcept {
    if (from >= elements_.size() || to >= elements_.size() || from == to) return;
    const auto first = elements_.begin();
    if (from < to)
        std::rotate(first + from, first + from + 1, first + to + 1);
    else
        std::rotate(first + to, first + from, first + from + 1);
}
