// The ordered list object that holds the children of a container.
#pragma once

#include "model/ObjectBase.h"

#include <korman/IZRNodeList.h>

/// A list of borrowed element pointers, in list order; the object table owns the elements.
/// Linking an element sets its parent to the list, unlinking detaches it. Operations that fail
/// return false (or null) and change nothing.
class CZRNodeList final : public TZRObject<CZRNodeList, IZRNodeList> {
public:
    static constexpr ZRObjType kType = ZRObjType::NodeList;

    /// A list whose element type and sub-kind are both -1 until copyFrom or setListType sets them.
    explicit CZRNodeList(std::uint32_t objID)
        : TZRObject(objID) {}

    std::uint32_t getCount() const override { return static_cast<std::uint32_t>(elements_.size()); }
    IZRKorObject* getAt(std::uint32_t index) const override { return elementAt(index); }
    std::int32_t getListType() const override { return listType_; }
    std::int32_t getListTypeEx() const override { return listTypeEx_; }

    /// The element at `index` as the write view (borrowed), or null past the end.
    IZRMutableKorObject* elementAt(std::uint32_t index) const {
        return index < elements_.size() ? elements_[index] : nullptr;
    }
    const std::vector<IZRMutableKorObject*>& elements() const { return elements_; }
    void setListType(std::int32_t listType, std::int32_t listTypeEx);

    /// Links `obj` in front of the first element whose sort key is not less than its own (so in
    /// front of equal keys). The list must already be sorted. Fails for null, or when `obj` already
    /// stands at that position.
    [[nodiscard]] bool insertSorted(IZRMutableKorObject* obj);
    /// Links `obj` at the end; fails for null.
    [[nodiscard]] bool append(IZRMutableKorObject* obj);
    /// Puts `obj` in slot `index` and detaches the element it replaces, destroying that element's
    /// subtree in `table` when one is given. Fails for null or an index past the end.
    [[nodiscard]] bool replaceAt(std::uint32_t index, IZRMutableKorObject* obj,
                                 CZRObjectTable* table);
    /// Detaches and removes the first element with `objID`; fails when none has it.
    [[nodiscard]] bool removeByID(std::uint32_t objID);
    /// Makes room for `count` elements in all, so that linking elements up to that count
    /// allocates nothing and cannot fail for want of memory.
    void reserve(std::size_t count) { elements_.reserve(count); }
    /// Detaches every element and empties the list; the elements stay in their table.
    void clear();
    /// The first element whose sort key equals `key` (linear scan), or null.
    IZRMutableKorObject* findByKey(std::int32_t key) const;
    /// Orders the elements by ascending sort key; elements with equal keys may change places.
    void sortByKey();
    /// The index of `obj`: `hint` when it stands there, else found by its sort key in the sorted
    /// list, else by a scan; the element count when the list does not hold it.
    std::uint32_t indexOf(const IZRMutableKorObject* obj, std::uint32_t hint) const noexcept;
    /// Where the element at `index` belongs, by its sort key, among the others of the sorted list
    /// (the index it would take after moveElement): `index` itself when it is in order with its
    /// neighbours, else in front of the first other element whose key is not less than its own.
    std::uint32_t sortedPlace(std::uint32_t index) const noexcept;
    /// Moves the element at `from` to `to`, shifting those between; allocates nothing. Indexes
    /// past the end change nothing.
    void moveElement(std::uint32_t from, std::uint32_t to) noexcept;

    /// The record plus one pointer per element slot.
    std::uint32_t getSize() const override;

private:
    friend class TZRObject<CZRNodeList, IZRNodeList>;

    void copyValues(const CZRNodeList& source);
    void swapValues(CZRNodeList& other);
    bool copyChildren(const CZRNodeList& source, std::uint32_t copyFlags,
                      const ZRCreateContext& context);
    template <class Self> static auto childFields(Self& self) { return std::tie(self.elements_); }
    void dumpFields(std::wstring& out) const;

    std::int32_t listType_ = -1;
    std::int32_t listTypeEx_ = -1;
    std::vector<IZRMutableKorObject*> elements_;
};
