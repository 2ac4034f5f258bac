// The longest text each element of a KOR3 song holds, shared by the writer and the reader.
#pragma once

#include <cstddef>
#include <string_view>

namespace Kor3 {

inline constexpr std::size_t kVersionMax = 15;
inline constexpr std::size_t kCompIDMax = 16;
inline constexpr std::size_t kSymbolMax = 32;
inline constexpr std::size_t kPluginIDMax = 36;
inline constexpr std::size_t kNameMax = 256;
inline constexpr std::size_t kPathMax = 260;
/// An element whose text may be of any length (the content of an aux record).
inline constexpr std::size_t kNoTextLimit = static_cast<std::size_t>(-1);

/// The most characters the text element `element` holds, kNoTextLimit for one without limit,
/// and 0 for every element whose text is no text value (numbers and structured elements).
/// KOR4 elements are asked by the KOR3 names they stand for.
std::size_t maxTextLength(std::wstring_view element);

} // namespace Kor3
