// Loads bytes as a KOR4 song through the validating reader.
#include "XmlSongFuzz.h"

#include "formats/kor4/Kor4Parser.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    kor::fuzz::loadSong<Kor4::CZRKor4Parser>(data, size);
    return 0;
}
