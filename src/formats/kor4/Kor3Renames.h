// The KOR3 names the reader gives KOR4 elements, so that the KOR3 nodes can read them.
#pragma once

#include <string_view>

namespace Kor4 {

/// The KOR3 name of the KOR4 element `name` met inside the element whose KOR3 name is `context`
/// (the root element's context is "kor4"), or empty when the element keeps its name there.
/// KOR4 reuses short names with a meaning that depends on the parent: `v` is a tempo's bpm, a
/// note's velocity, a plug-in value or a style attribute.
std::u16string_view kor3Name(std::u16string_view context, std::u16string_view name);

} // namespace Kor4
