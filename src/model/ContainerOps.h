// Operations that containers share over their child lists and child fields: the ordered-list
// checks and repairs, missing-list creation and the deep copy of a child slot.
#pragma once

#include "model/NodeList.h"
#include "model/ObjectTree.h"
#include "model/StyleValueMap.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace kor {

/// `code` marked unrepairable; 0 stays 0. For classes whose repair changes nothing.
inline std::uint32_t unrepairable(std::uint32_t code) {
    return code != 0 ? code | kUnrepairable : 0;
}

/// How the elements of a list must follow one another by sort key.
enum class KeyOrder {
    Increasing, ///< each key greater than the one before
    Distinct,   ///< each key different from the one before
    Any,        ///< no order: only the element class is checked
};

/// The codes an ordered-list check reports.
struct ListCheckCodes {
    std::uint32_t notOfType;  ///< an element of another class
    std::uint32_t duplicated; ///< a key out of order (or equal to its neighbour)
};

/// The first fault of `list` (which may be null: no fault): an element whose type is not `type`
/// gives `codes.notOfType`, a key that breaks `order` against the key before it (the first is
/// compared with `firstPrevious`) gives `codes.duplicated`. 0 when every element passes.
std::uint32_t checkOrderedList(const CZRNodeList* list, ZRObjType type, KeyOrder order,
                               std::int32_t firstPrevious, ListCheckCodes codes);

/// Which elements a repair drops.
enum class DropRule {
    RepeatedOrNegative, ///< a key equal to the previous kept one, or below 0
    Negative,           ///< a key below 0
    Repeated,           ///< a key equal to the previous kept one
};

/// The codes a list repair reports; both already carry kUnrepairable.
struct ListRepairCodes {
    std::uint32_t notOfType;
    std::uint32_t removeFailed;
};

/// Removes from `list` (null: nothing to do) the elements that `rule` drops, comparing keys with
/// the last kept element (the first element is never a repeat), and destroys them in `table`.
/// An element whose type is not `type` stops the repair with `codes.notOfType`. Returns 0 when
/// nothing was removed, 1 when something was, or the failure code.
std::uint32_t dropBadElements(CZRNodeList* list, ZRObjType type, DropRule rule,
                              ListRepairCodes codes, CZRObjectTable& table);

/// The codes of a headed-list repair; all already carry kUnrepairable.
struct HeadedListCodes {
    std::uint32_t noList;       ///< the missing list cannot be created or attached
    std::uint32_t notOfType;    ///< an element of another class
    std::uint32_t removeFailed; ///< a dropped element cannot be removed
    std::uint32_t createFailed; ///< the default head event cannot be created
    std::uint32_t appendFailed; ///< ... or appended
};

/// The usual codes of a headed list, from the check codes of its event class: "is null" for a
/// missing list, a stranger and a failed creation, "duplicated" for a failed removal and
/// "number" for a failed append.
constexpr HeadedListCodes headedListCodes(std::uint32_t isNull, std::uint32_t duplicated,
                                          std::uint32_t number) {
    return {isNull | kUnrepairable, isNull | kUnrepairable, duplicated | kUnrepairable,
            isNull | kUnrepairable, number | kUnrepairable};
}

/// Gathers the results of the steps of a repair: 1 once any step changed something, or the
/// first unrepairable code, after which no further step counts.
class RepairResult {
public:
    explicit RepairResult(std::uint32_t first = 0) { add(first); }

    /// Takes the result of one step; false once the repair has failed.
    bool add(std::uint32_t result) {
        if (failed()) return false;
        if ((result & kUnrepairable) != 0)
            code_ = result;
        else if (result != 0)
            code_ = 1;
        return !failed();
    }
    bool failed() const { return (code_ & kUnrepairable) != 0; }
    std::uint32_t value() const { return code_; }

private:
    std::uint32_t code_ = 0;
};

/// Repairs a list that must start with an event at position 0 (time signatures, tempos,
/// singers, prosody voices and elements): creates the list of T (whose list type is T's type)
/// in its child slot `field` of `container` when missing, drops repeated or negative events
/// (destroyed in `table`), then appends a new T made from `head` when the list is empty, or moves
/// the first event to 0 with `moveToZero` when it is elsewhere. Returns 0, 1 when something
/// changed, or a code.
template <class T, class Values, class MoveToZero>
std::uint32_t repairHeadedList(CZRNodeList*& field, IZRMutableKorObject* container,
                               const HeadedListCodes& codes, const Values& head,
                               MoveToZero moveToZero, CZRObjectTable& table,
                               const ZRCreateContext& context);

/// A new empty list of `listType` / `listTypeEx` in `context` (borrowed), or null.
CZRNodeList* createList(const ZRCreateContext& context, ZRObjType listType,
                        std::int32_t listTypeEx = -1);

/// Puts a copy of `source` (null: nothing), made by its cloneInto with `copyFlags`, into the
/// child slot `field` of `container`. The child it replaces is detached and stays in its table.
/// False when creation, copy or linking fails; a half-made copy is destroyed.
template <class T>
[[nodiscard]] bool copyChildSlot(T*& field, const T* source, IZRMutableKorObject* container,
                                 std::uint32_t copyFlags, const ZRCreateContext& context) {
    if (source == nullptr) return setChildSlot(field, static_cast<T*>(nullptr), container);
    // A clone is of its source's class.
    auto* copy = static_cast<T*>(source->cloneInto(context, copyFlags));
    if (copy == nullptr) return false;
    if (!setChildSlot(field, copy, container)) {
        context.registry.destroy(copy->getObjID());
        return false;
    }
    return true;
}

/// Child lists kept by a text ID (phrase styles, style controls, sequential note styles), in ID
/// order; lookups take a literal or a view without building a string.
using ListMap = StyleKeyMap<CZRNodeList*>;

/// Stores `list` under `id` in `map` as a child of `container` (null removes the entry); the
/// list it replaces is detached.
[[nodiscard]] bool setMapList(ListMap& map, const std::wstring& id, CZRNodeList* list,
                              IZRMutableKorObject* container);

/// Replaces every list of `map` by a deep copy of the lists of `source`; the old lists are
/// detached. Stops with false at the first list that cannot be copied.
[[nodiscard]] bool copyMapLists(ListMap& map, const ListMap& source, IZRMutableKorObject* container,
                                std::uint32_t copyFlags, const ZRCreateContext& context);

/// The list under `id`, or null.
CZRNodeList* findMapList(const ListMap& map, std::wstring_view id);

/// A fixed row of child lists (the seven control lists of a part, the five attribute info
/// lists of a style plug-in); empty slots are null.
template <std::size_t N> using ListRow = std::array<CZRNodeList*, N>;

/// The seven event lists of a part, one per control type 0 to 6.
using ControlLists = ListRow<7>;

/// Deep-copies each list of `source` into the same slot of `lists` (see copyChildSlot).
template <std::size_t N>
[[nodiscard]] bool copyListRow(ListRow<N>& lists, const ListRow<N>& source,
                               IZRMutableKorObject* container, std::uint32_t copyFlags,
                               const ZRCreateContext& context) {
    for (std::size_t i = 0; i < N; ++i)
        if (!copyChildSlot(lists[i], source[i], container, copyFlags, context)) return false;
    return true;
}

/// The list in slot `index` of `row`, or null for an index outside the row.
template <std::size_t N> CZRNodeList* listAt(const ListRow<N>& row, std::int32_t index) {
    return index >= 0 && static_cast<std::size_t>(index) < N ? row[static_cast<std::size_t>(index)]
                                                             : nullptr;
}

/// Links `list` (or nothing) in slot `index` of `row` under `container`; false for an index
/// outside the row.
template <std::size_t N>
[[nodiscard]] bool setListAt(ListRow<N>& row, std::int32_t index, CZRNodeList* list,
                             IZRMutableKorObject* container) {
    if (index < 0 || static_cast<std::size_t>(index) >= N) return false;
    return setChildSlot(row[static_cast<std::size_t>(index)], list, container);
}

inline CZRNodeList* listOf(CZRNodeList* list) {
    return list;
}
inline CZRNodeList* listOf(const ListMap::Item& entry) {
    return entry.second;
}

/// checkOrderedList over every list of `lists` (a row or a map); the first fault.
template <class Lists>
std::uint32_t checkEachList(const Lists& lists, ZRObjType type, KeyOrder order,
                            std::int32_t firstPrevious, ListCheckCodes codes) {
    for (const auto& entry : lists)
        if (const std::uint32_t code =
                checkOrderedList(listOf(entry), type, order, firstPrevious, codes))
            return code;
    return 0;
}

/// dropBadElements over every list of `lists` (a row or a map): the first failure, else 1 when
/// any list lost an element, else 0.
template <class Lists>
std::uint32_t dropInEachList(const Lists& lists, ZRObjType type, DropRule rule,
                             ListRepairCodes codes, CZRObjectTable& table) {
    std::uint32_t changed = 0;
    for (const auto& entry : lists) {
        const std::uint32_t result = dropBadElements(listOf(entry), type, rule, codes, table);
        if ((result & kUnrepairable) != 0) return result;
        changed |= result;
    }
    return changed;
}

/// The sort key of the last element of `list`, or `fallback` when the list is missing or empty.
std::int32_t lastKey(const CZRNodeList* list, std::int32_t fallback);

template <class T, class Values, class MoveToZero>
std::uint32_t repairHeadedList(CZRNodeList*& field, IZRMutableKorObject* container,
                               const HeadedListCodes& codes, const Values& head,
                               MoveToZero moveToZero, CZRObjectTable& table,
                               const ZRCreateContext& context) {
    std::uint32_t changed = 0;
    if (field == nullptr) {
        CZRNodeList* created = createList(context, T::kType, -1);
        if (created == nullptr) return codes.noList;
        if (!setChildSlot(field, created, container)) {
            table.destroy(created->getObjID());
            return codes.noList;
        }
        changed = 1;
    }
    const std::uint32_t dropped = dropBadElements(field, T::kType, DropRule::RepeatedOrNegative,
                                                  {codes.notOfType, codes.removeFailed}, table);
    if ((dropped & kUnrepairable) != 0) return dropped;
    changed |= dropped;
    if (field->getCount() == 0) {
        T* created = createObject<T>(context, ZR_NO_OBJ_ID, head);
        if (created == nullptr) return codes.createFailed;
        if (!field->append(created)) {
            table.destroy(created->getObjID());
            return codes.appendFailed;
        }
        return 1;
    }
    IZRMutableKorObject* first = field->elementAt(0);
    if (first->getSortKey() != 0) {
        moveToZero(*objCast<T>(first));
        changed = 1;
    }
    return changed;
}

} // namespace kor
