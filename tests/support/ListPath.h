// One checked step from a list of a song to one of its elements, for tests that walk songs.
#pragma once

#include "model/NodeList.h"

#include <cstdint>
#include <stdexcept>

namespace kor::test {

/// The element `index` of `list` as a T. Throws, which fails the running test, when the list is
/// missing or holds no T there, so a test can chain steps without checking each.
template <class T> T& at(const CZRNodeList* list, std::uint32_t index) {
    T* element = list != nullptr ? kor::objCast<T>(list->elementAt(index)) : nullptr;
    if (element == nullptr) throw std::runtime_error("no element of that class there");
    return *element;
}

} // namespace kor::test
