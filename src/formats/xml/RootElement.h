// Naming the root element of an XML file without reading the rest of it.
#pragma once

#include <string>

namespace kor {

/// The local name of the root element of the XML file at `path`, read as far as its start tag
/// and no further, without a schema. Empty when there is no path, the file cannot be opened or
/// it is no XML document up to its root; throws std::bad_alloc when memory runs out, so that a
/// reader is never chosen for want of memory.
std::u16string rootElementOf(const wchar_t* path);

} // namespace kor
