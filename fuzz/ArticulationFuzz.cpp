// Reads bytes as a vibrato articulation file: INI sections, numbers and break point curves.
#include "FuzzFile.h"

#include "legacy/IconVibrato.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static kor::fuzz::FuzzFile file;
    file.write(data, size);
    CIconVibrato vibrato;
    if (vibrato.load(file.path())) (void)(vibrato.depthCurve().size() + vibrato.rateCurve().size());
    return 0;
}
