// The read interface of the ordered list that holds the children of a container.
#pragma once

#include <korman/IZRKorObject.h>

#include <cstdint>

/// An ordered list of objects of one type (getListType), told apart from sibling lists of the
/// same type by getListTypeEx (-1 where a container has only one).
class KORMAN_API IZRNodeList : public virtual IZRKorObject {
public:
    /// Number of elements.
    virtual std::uint32_t getCount() const = 0;
    /// The element at `index` (borrowed), or null when `index` is not below getCount().
    virtual IZRKorObject* getAt(std::uint32_t index) const = 0;
    /// The object type number (ZRObjType) of the elements the list holds.
    virtual std::int32_t getListType() const = 0;
    /// The sub-kind telling apart lists of one element type in one container: the control type of
    /// a control list, 0 (sound effects) or 1 (backing) of a WAV part list; -1 where there is one.
    virtual std::int32_t getListTypeEx() const = 0;

    /// The element at `index` as a `T` (borrowed), e.g. `list->at<IZRMusicalNote>(i)`; null when
    /// `index` is not below getCount() or the element is no `T`. To walk a list, see
    /// kor::elements in <korman/ZRNodeRange.h>.
    template <class T> T* at(std::uint32_t index) const { return dynamic_cast<T*>(getAt(index)); }
};
