// The table of every error code the library reports, with its English message.
#pragma once

#include <cstdint>

namespace kor {

/// The message of `code`: the text of the first table row holding that code, "OK" for 0, and
/// the empty string for a code that no row holds. The returned text is static.
const wchar_t* errorMessage(std::uint32_t code);

} // namespace kor
