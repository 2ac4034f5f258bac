#include "model/ContainerOps.h"

#include <optional>

namespace kor {

std::uint32_t checkOrderedList(const CZRNodeList* list, ZRObjType type, KeyOrder order,
                               std::int32_t firstPrevious, ListCheckCodes codes) {
    if (list == nullptr) return 0;
    std::int32_t previous = firstPrevious;
    for (const IZRMutableKorObject* element : list->elements()) {
        if (element->getObjType() != type) return codes.notOfType;
        const std::int32_t key = element->getSortKey();
        const bool broken = (order == KeyOrder::Increasing && key <= previous) ||
                            (order == KeyOrder::Distinct && key == previous);
        if (broken) return codes.duplicated;
        previous = key;
    }
    return 0;
}

std::uint32_t dropBadElements(CZRNodeList* list, ZRObjType type, DropRule rule,
                              ListRepairCodes codes, CZRObjectTable& table) {
    if (list == nullptr) return 0;
    std::uint32_t result = 0;
    std::optional<std::int32_t> previous;
    for (std::uint32_t i = 0; i < list->getCount();) {
        IZRMutableKorObject* element = list->elementAt(i);
        if (element->getObjType() != type) return codes.notOfType;
        const std::int32_t key = element->getSortKey();
        const bool repeated = rule != DropRule::Negative && previous == key;
        const bool negative = rule != DropRule::Repeated && key < 0;
        if (!repeated && !negative) {
            previous = key;
            ++i;
            continue;
        }
        const std::uint32_t id = element->getObjID();
        if (!list->removeByID(id)) return codes.removeFailed;
        table.destroy(id);
        result = 1;
    }
    return result;
}

CZRNodeList* createList(const ZRCreateContext& context, ZRObjType listType,
                        std::int32_t listTypeEx) {
    CZRNodeList* list = createObject<CZRNodeList>(context, ZR_NO_OBJ_ID);
    if (list != nullptr) list->setListType(static_cast<std::int32_t>(listType), listTypeEx);
    return list;
}

bool setMapList(ListMap& map, const std::wstring& id, CZRNodeList* list,
                IZRMutableKorObject* container) {
    CZRNodeList* current = findMapList(map, id);
    if (!setChildSlot(current, list, container)) return false;
    if (list == nullptr)
        map.erase(id);
    else
        map.set(id, list);
    return true;
}

bool copyMapLists(ListMap& map, const ListMap& source, IZRMutableKorObject* container,
                  std::uint32_t copyFlags, const ZRCreateContext& context) {
    for (const auto& [id, list] : map)
        list->setParent(nullptr);
    map.clear();
    map.reserve(source.size());
    for (const auto& [id, list] : source) {
        CZRNodeList* copy = nullptr;
        if (!copyChildSlot(copy, list, container, copyFlags, context)) return false;
        map.set(id, copy);
    }
    return true;
}

CZRNodeList* findMapList(const ListMap& map, std::wstring_view id) {
    CZRNodeList* const* list = map.find(id);
    return list != nullptr ? *list : nullptr;
}

std::int32_t lastKey(const CZRNodeList* list, std::int32_t fallback) {
    if (list == nullptr || list->getCount() == 0) return fallback;
    return list->elementAt(list->getCount() - 1)->getSortKey();
}

} // namespace kor
