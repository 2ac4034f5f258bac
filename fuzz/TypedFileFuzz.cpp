// Parses bytes as INI-like text in the code page and comment mode the first byte picks.
#include "legacy/TypedFile.h"

#include <array>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    static constexpr std::array<unsigned, 4> kCodePages{0, 932, 1252, 65001};
    CxTypedFile file;
    file.setCodePage(kCodePages[data[0] & 3]);
    const bool commentsAllowed = (data[0] & 4) != 0;
    if (!file.parseText(reinterpret_cast<const char*>(data + 1), size - 1, commentsAllowed))
        return 0;
    for (const std::wstring& name : file.sectionNames())
        for (const std::wstring& key : file.keys(name))
            (void)file.value(name, key);
    return 0;
}
